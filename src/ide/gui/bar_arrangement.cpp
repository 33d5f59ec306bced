#include "ide/gui/bar_arrangement.h"

#include "ide/core/config_file.h"
#include "value/names.h"

#include <algorithm>

namespace ozra::ide::gui {

namespace {

constexpr std::string_view kVisibleKey = "toolbar.visible";
constexpr std::string_view kToolbarKey = "toolbar";
constexpr std::string_view kMenuPrefix = "menu.";
constexpr std::string_view kSeparator = "-";

std::string_view Trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t\r") - start + 1);
}

bool IsPlaceable(const Command& command) {
    return !(command.Flags & kHidden);
}

std::optional<std::size_t> MenuNamed(std::string_view name) {
    const auto menus = MenuCaptions();
    for (std::size_t i = 0; i < menus.size(); ++i)
        if (value::NamesEqual(PlainCaption(menus[i]), name)) return i;
    return std::nullopt;
}

bool Holds(const BarItems& bar, CommandId command) {
    return std::ranges::find(bar, BarItem{command}) != bar.end();
}

BarItems ItemsFromText(std::string_view text) {
    BarItems items;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view word = Trimmed(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (word == kSeparator)
            items.push_back({});
        else if (const auto command = PlaceableCommand(word); command && !Holds(items, *command))
            items.push_back({command});
    }
    return items;
}

std::string ItemsToText(const BarItems& items) {
    std::string text;
    for (const BarItem& item : items) {
        if (!text.empty()) text += ',';
        text += item.Command ? CommandOf(*item.Command).Name : kSeparator;
    }
    return text;
}

} // namespace

std::optional<CommandId> PlaceableCommand(std::string_view name) {
    for (const Command& command : Commands())
        if (command.Name == name && IsPlaceable(command)) return command.Id;
    return std::nullopt;
}

BarArrangement BarArrangement::BuiltIn() {
    BarArrangement bars;
    bars.Menus.resize(MenuCaptions().size());
    for (const Command& command : Commands()) {
        if (!IsPlaceable(command)) continue;
        const bool separated = command.Flags & kSeparatorBefore;
        if (const auto menu = MenuNamed(command.Category)) {
            BarItems& items = bars.Menus[*menu];
            if (separated && !items.empty()) items.push_back({});
            items.push_back({command.Id});
        }
        if (command.Flags & kOnToolbar) {
            if (separated && !bars.Toolbar.empty()) bars.Toolbar.push_back({});
            bars.Toolbar.push_back({command.Id});
        }
    }
    return bars;
}

void BarArrangement::Insert(int bar, std::size_t position, BarItem item) {
    BarItems& items = Bar(bar);
    if (item.Command)
        if (auto same = std::ranges::find(items, item); same != items.end()) {
            if (static_cast<std::size_t>(same - items.begin()) < position) --position;
            items.erase(same);
        }
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(std::min(position, items.size())),
                 item);
}

void BarArrangement::Move(int fromBar, std::size_t from, int toBar, std::size_t to) {
    BarItems& source = Bar(fromBar);
    if (from >= source.size()) return;
    const BarItem item = source[from];
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(from));
    if (fromBar == toBar && from < to) --to;
    Insert(toBar, to, item);
}

void BarArrangement::Remove(int bar, std::size_t position) {
    BarItems& items = Bar(bar);
    if (position < items.size()) items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
}

std::string BarArrangement::ToText() const {
    const BarArrangement builtIn = BuiltIn();
    std::string text;
    if (!ToolbarVisible) text.append(kVisibleKey).append("=false\n");
    if (Toolbar != builtIn.Toolbar)
        text.append(kToolbarKey).append("=").append(ItemsToText(Toolbar)).append("\n");
    const auto menus = MenuCaptions();
    for (std::size_t i = 0; i < Menus.size() && i < menus.size(); ++i)
        if (Menus[i] != builtIn.Menus[i])
            text.append(kMenuPrefix)
                .append(PlainCaption(menus[i]))
                .append("=")
                .append(ItemsToText(Menus[i]))
                .append("\n");
    return text;
}

BarArrangement BarArrangement::FromText(std::string_view text) {
    BarArrangement bars = BuiltIn();
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (key == kVisibleKey) {
            if (value::NamesEqual(value, "false")) bars.ToolbarVisible = false;
        } else if (key == kToolbarKey) {
            bars.Toolbar = ItemsFromText(value);
        } else if (key.starts_with(kMenuPrefix)) {
            if (const auto menu = MenuNamed(key.substr(kMenuPrefix.size())))
                bars.Menus[*menu] = ItemsFromText(value);
        }
    }
    return bars;
}

} // namespace ozra::ide::gui
