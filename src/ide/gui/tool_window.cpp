#include "ide/gui/tool_window.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace ozra::ide::gui {

namespace {

constexpr std::array<std::string_view, kToolWindowCount> kNames = {
    "Structure",   "Files",   "Output",           "Warnings",      "Errors",        "Bookmarks",
    "Breakpoints", "Command", "Find and Replace", "Search Result", "Layout Manager"};

bool SameName(std::string_view name, std::string_view wanted) {
    return std::ranges::equal(name, wanted, [](unsigned char a, unsigned char b) {
        return std::tolower(a == '_' ? ' ' : a) == std::tolower(b);
    });
}

} // namespace

std::string_view ToolWindowName(ToolWindowIndex index) noexcept {
    return kNames[static_cast<std::size_t>(index)];
}

std::string ToolWindowComponentName(ToolWindowIndex index) {
    std::string name(ToolWindowName(index));
    std::ranges::replace(name, ' ', '_');
    return name;
}

std::optional<ToolWindowIndex> ToolWindowNamed(std::string_view name) noexcept {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (SameName(name, kNames[i])) return static_cast<ToolWindowIndex>(i);
    return std::nullopt;
}

bool KeptWhenClosed(ToolWindowIndex index) noexcept {
    return index == ToolWindowIndex::FindAndReplace || index == ToolWindowIndex::Command ||
           index == ToolWindowIndex::LayoutManager;
}

} // namespace ozra::ide::gui
