// The environment's commands as data: one row per command with the name
// the design gives it, its category (which is also its menu and its
// section in the configuration's shortcut list), caption, hint, built-in
// shortcut and how it shows in the menus and on the toolbar. The main
// window builds its actions, menus and toolbar from this table alone, and
// the enabling rules (command_enabling.h) refer to rows by `CommandId`.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ozra::ide::gui {

enum class CommandId : std::uint8_t {
    NewProject,
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    FileSaveAll,
    FileClose,
    FileCloseAll,
    FileExit,
    EditUndo,
    EditRedo,
    EditCopy,
    EditCut,
    EditPaste,
    EditDelete,
    EditSelectAll,
    ShowSpecialChars,
    EditLineWrap,
    ToggleBookmark,
    ToggleBreakpoint,
    SearchFind,
    SearchReplace,
    SearchFindNext,
    FindPrev,
    ViewStructure,
    ViewFiles,
    ViewOutput,
    ViewWarning,
    ViewError,
    ViewBookmark,
    ViewBreakpoint,
    ViewCommand,
    ViewSearchResult,
    ViewLayoutManager,
    Run,
    ProjectPause,
    ProjectStop,
    RunProject,
    RunFile,
    RunFromCursor,
    SyntaxCheck,
    DebugStep,
    DebugInto,
    DebugReturn,
    DebugCursor,
    ToolsOptions,
    Customize,
    HelpContents,
    HelpOzra,
    HelpOzraApi,
    HelpVisitHome,
    HelpAbout,
};

// How a command's action behaves and where it shows.
enum CommandFlag : std::uint8_t {
    kPlain = 0,
    kToggle = 1,           // a checkable switch
    kRunScope = 2,         // one of the exclusive run-scope choices
    kHidden = 4,           // in neither menu nor toolbar
    kOnToolbar = 8,        // repeated on the toolbar
    kSeparatorBefore = 16, // a separator precedes it in its menu
};

struct Command {
    CommandId Id;
    std::string_view Name;     // "actFileNew"
    std::string_view Category; // "File"; the menu is «&» + category
    std::string_view Caption;  // "&New File"
    std::string_view Hint;     // short and long text separated by "|"
    std::string_view Shortcut; // "Ctrl+N", or "" for none
    std::uint8_t Flags = kPlain;
};

// Every command, in menu order.
std::span<const Command> Commands() noexcept;
const Command& CommandOf(CommandId id) noexcept;

// The menu captions, in menu-bar order; a command's menu is the one whose
// caption without "&" equals its category.
std::span<const std::string_view> MenuCaptions() noexcept;

} // namespace ozra::ide::gui
