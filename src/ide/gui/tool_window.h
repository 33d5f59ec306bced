// The tool windows the window manager knows, by index and by name, and
// what every tool window offers it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ozra::ide::gui {

enum class ToolWindowIndex : std::uint8_t {
    Structure = 0,
    Files = 1,
    Output = 2,
    Warnings = 3,
    Errors = 4,
    Bookmarks = 5,
    Breakpoints = 6,
    Command = 7,
    FindAndReplace = 8,
    SearchResult = 9,
    LayoutManager = 10,
};

inline constexpr int kToolWindowCount = 11;

// Sent by an editor when its caret or selection moves; the other numbers
// the windows hear are the project's (`ProjectEvent`).
inline constexpr int kCaretMoved = 13;

// "Structure", "Files", ... "Layout Manager", by index.
std::string_view ToolWindowName(ToolWindowIndex index) noexcept;
// The name with each blank as "_" ("Find_and_Replace"), as layout files and
// the window's widget name have it.
std::string ToolWindowComponentName(ToolWindowIndex index);
// The window of a name, ignoring case, with "_" standing for a blank (as
// layout files write names); none for an unknown name.
std::optional<ToolWindowIndex> ToolWindowNamed(std::string_view name) noexcept;
// Closing hides these windows, which keep their state; it destroys the
// others.
bool KeptWhenClosed(ToolWindowIndex index) noexcept;

class ToolWindow {
  public:
    virtual ~ToolWindow() = default;
    virtual ToolWindowIndex Index() const noexcept = 0;
    // A notification number the window manager routes to this window.
    virtual void HandleEvent(int notification) = 0;
    // Gives the focus to the window's main control.
    virtual void FocusContent() = 0;
};

} // namespace ozra::ide::gui
