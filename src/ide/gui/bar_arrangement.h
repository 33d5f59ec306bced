// What the menus and the toolbar show: each bar's commands in order, with
// separators, and whether the toolbar is shown. The built-in arrangement
// comes from the command table; the Customize dialog changes it.
//
// It is stored in "Default.toolbar" after the recent files, one line per
// bar that differs from its built-in items:
//   toolbar.visible=false
//   toolbar=actFileNew,actFileOpen,-,actFileSave
//   menu.Edit=actEditUndo,actEditRedo,-,actEditCopy
// where "-" is a separator. A bar without a line keeps its built-in items,
// so a file written before menus could be customised loads as it always
// did. An unknown command, menu or line is skipped; hidden commands never
// show on a bar, and a command shows at most once on each.
#pragma once

#include "ide/gui/commands.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide::gui {

struct BarItem {
    // A separator when empty.
    std::optional<CommandId> Command;
    friend bool operator==(const BarItem&, const BarItem&) = default;
};

using BarItems = std::vector<BarItem>;

// The command of that name when it may show on a bar (hidden ones never
// do).
std::optional<CommandId> PlaceableCommand(std::string_view name);

// A bar: the toolbar, or a menu by its position in `MenuCaptions()`.
inline constexpr int kToolbarBar = -1;

struct BarArrangement {
    bool ToolbarVisible = true;
    BarItems Toolbar;
    // One per menu, in menu-bar order.
    std::vector<BarItems> Menus;

    static BarArrangement BuiltIn();
    BarItems& Bar(int bar) { return bar == kToolbarBar ? Toolbar : Menus.at(bar); }

    // Puts the item before `position` of the bar (at its end when past
    // it); the same command elsewhere on that bar moves instead of showing
    // twice.
    void Insert(int bar, std::size_t position, BarItem item);
    // Moves an item, within its bar or to another.
    void Move(int fromBar, std::size_t from, int toBar, std::size_t to);
    void Remove(int bar, std::size_t position);

    // The file's lines for the bars that differ from the built-in ones.
    std::string ToText() const;
    static BarArrangement FromText(std::string_view text);

    friend bool operator==(const BarArrangement&, const BarArrangement&) = default;
};

} // namespace ozra::ide::gui
