// The command table. Captions and shortcuts are the product's own words;
// the hints are short and long help texts for the status line and tips.
#include "ide/gui/commands.h"

#include <array>

namespace ozra::ide::gui {

namespace {

using enum CommandId;

constexpr std::uint8_t kBar = kOnToolbar;
constexpr std::uint8_t kSep = kSeparatorBefore;

constexpr std::array kCommands = {
    Command{NewProject, "actNewProject", "File", "New Pro&ject",
            "New project|Close the project and start a new one", "Ctrl+Shift+N"},
    Command{FileNew, "actFileNew", "File", "&New File", "New file|Open a new untitled file",
            "Ctrl+N", kBar},
    Command{FileOpen, "actFileOpen", "File", "&Open...", "Open|Open files or a project", "Ctrl+O",
            kBar},
    Command{FileSave, "actFileSave", "File", "&Save", "Save|Save the current file", "Ctrl+S",
            kBar | kSep},
    Command{FileSaveAs, "actFileSaveAs", "File", "Save &As...",
            "Save as|Save the current file under a new name", ""},
    Command{FileSaveAll, "actFileSaveAll", "File", "Sa&ve All", "Save all|Save every modified file",
            "Ctrl+Shift+S", kBar},
    Command{FileClose, "actFileClose", "File", "&Close", "Close|Close the current file", "Ctrl+F4",
            kSep},
    Command{FileCloseAll, "actFileCloseAll", "File", "Close All",
            "Close all|Close the project and every file", ""},
    Command{FileExit, "actFileExit", "File", "E&xit", "Exit|Leave the environment", "", kSep},
    Command{EditUndo, "actEditUndo", "Edit", "&Undo", "Undo|Undo the last change", "Ctrl+Z",
            kBar | kSep},
    Command{EditRedo, "actEditRedo", "Edit", "&Redo", "Redo|Redo the last undone change",
            "Ctrl+Shift+Z", kBar},
    Command{EditCopy, "actEditCopy", "Edit", "&Copy", "Copy|Copy the selection", "Ctrl+C",
            kBar | kSep},
    Command{EditCut, "actEditCut", "Edit", "Cu&t", "Cut|Cut the selection", "Ctrl+X", kBar},
    Command{EditPaste, "actEditPaste", "Edit", "&Paste", "Paste|Insert the clipboard's text",
            "Ctrl+V", kBar},
    Command{EditDelete, "actEditDelete", "Edit", "&Delete",
            "Delete|Delete the character or the selection", ""},
    Command{EditSelectAll, "actEditSelectAll", "Edit", "Se&lect All",
            "Select all|Select the whole text", "Ctrl+A"},
    Command{ShowSpecialChars, "actShowSpecialChars", "Edit", "Show Special Chars",
            "Show special characters|Show blanks and line ends", "", kToggle | kSep},
    Command{EditLineWrap, "actEditLineWrap", "Edit", "Wrap Line",
            "Wrap lines|Wrap long lines at the window's edge", "", kToggle},
    Command{ToggleBookmark, "actToggleBookmark", "Edit", "Toggle &Bookmark",
            "Toggle bookmark|Set or clear the bookmark of the caret line", "F2", kSep},
    Command{ToggleBreakpoint, "actToggleBreakpoint", "Edit", "Toggle Brea&kpoint",
            "Toggle breakpoint|Set or clear the breakpoint of the caret line", "F5", kBar},
    Command{SearchFind, "actSearchFind", "Search", "&Find", "Find|Find text", "Ctrl+F",
            kBar | kSep},
    Command{SearchReplace, "actSearchReplace", "Search", "&Replace", "Replace|Replace text",
            "Ctrl+R"},
    Command{SearchFindNext, "actSearchFindNext", "Search", "Find &Next",
            "Find next|Repeat the last find forward", "F3"},
    Command{FindPrev, "actFindPrev", "Search", "Find &Previous",
            "Find previous|Repeat the last find backward", "Shift+F3"},
    Command{ViewStructure, "actViewStructure", "View", "Struc&ture",
            "Structure|Show the functions and classes of the current file", "Ctrl+Shift+T"},
    Command{ViewFiles, "actViewFiles", "View", "Project &Files",
            "Project files|Show the files of the project", "Ctrl+Shift+F"},
    Command{ViewOutput, "actViewOutput", "View", "&Output",
            "Output|Show the output of the last run", "Ctrl+Shift+O"},
    Command{ViewWarning, "actViewWarning", "View", "&Warnings",
            "Warnings|Show the syntax errors of the current file", "Ctrl+Shift+W"},
    Command{ViewError, "actViewError", "View", "&Errors",
            "Errors|Show the errors of the last compilation", "Ctrl+Shift+E"},
    Command{ViewBookmark, "actViewBookmark", "View", "&Bookmarks", "Bookmarks|Show the bookmarks",
            "Ctrl+Shift+B"},
    Command{ViewBreakpoint, "actViewBreakpoint", "View", "Break&points",
            "Breakpoints|Show the breakpoints", "Ctrl+Shift+P"},
    Command{ViewCommand, "actViewCommand", "View", "&Command", "Command|Inspect a paused run",
            "Ctrl+Shift+C"},
    Command{ViewSearchResult, "actViewSearchResult", "View", "Search &Result",
            "Search result|Show the results of the last find in files", "Ctrl+Shift+R"},
    Command{ViewLayoutManager, "actViewLayoutManager", "View", "&Layout Manager",
            "Layout manager|Save and apply window layouts", "Ctrl+Shift+L"},
    Command{Run, "actRun", "Run", "&Run", "Run|Run, or continue the paused run", "F9", kBar | kSep},
    Command{ProjectPause, "actProjectPause", "Run", "&Pause", "Pause|Pause the run", "", kBar},
    Command{ProjectStop, "actProjectStop", "Run", "&Stop", "Stop|End the run", "", kBar},
    Command{RunProject, "actRunProject", "Run", "Run Scope - &Project",
            "Run the project|Run from the project's main file", "", kRunScope | kSep},
    Command{RunFile, "actRunFile", "Run", "Run Scope - &File", "Run the file|Run the current file",
            "", kRunScope},
    Command{RunFromCursor, "actRunFromCursor", "Run", "Run Scope - &Block",
            "Run the block|Run the function at the caret", "", kRunScope | kHidden},
    Command{SyntaxCheck, "actSyntaxCheck", "Run", "Syntax &Check",
            "Syntax check|Compile without running", "Ctrl+F9", kSep},
    Command{DebugStep, "actDebugStep", "Run", "Step &Over",
            "Step over|Run to the next statement, over calls", "F8", kBar | kSep},
    Command{DebugInto, "actDebugInto", "Run", "&Trace Into",
            "Trace into|Run to the next statement, into calls", "F7", kBar},
    Command{DebugReturn, "actDebugReturn", "Run", "Run &Until Return",
            "Run until return|Run to the end of the current function", "Shift+F8", kBar},
    Command{DebugCursor, "actDebugCursor", "Run", "Run to &Cursor",
            "Run to cursor|Run to the caret line", "F4", kHidden},
    Command{ToolsOptions, "actToolsOptions", "Tools", "&Options",
            "Options|Change the environment's options", ""},
    Command{Customize, "actCustomize", "Tools", "&Customize...",
            "Customize|Change menus and toolbar", ""},
    Command{HelpContents, "actHelpContents", "Help", "&Contents",
            "Contents|The environment's manual", ""},
    Command{HelpOzra, "actHelpOzra", "Help", "&Ozra Manual", "Ozra manual|The language's manual",
            ""},
    Command{HelpOzraApi, "actHelpOzraApi", "Help", "O&zra API", "Ozra API|The libraries' reference",
            ""},
    Command{HelpVisitHome, "actHelpVisitHome", "Help", "Visit Velkor Homepage",
            "Homepage|Open the maker's web site", "", kSep},
    Command{HelpAbout, "actHelpAbout", "Help", "&About Weftline Studio",
            "About|Product name and version", "", kSep},
};

constexpr std::array<std::string_view, 7> kMenus = {"&File", "&Edit",  "&Search", "&View",
                                                    "&Run",  "&Tools", "&Help"};

constexpr bool InIdOrder() {
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        if (static_cast<std::size_t>(kCommands[i].Id) != i) return false;
    return true;
}
static_assert(InIdOrder(), "the table is indexed by CommandId");

} // namespace

std::span<const Command> Commands() noexcept {
    return kCommands;
}

const Command& CommandOf(CommandId id) noexcept {
    return kCommands[static_cast<std::size_t>(id)];
}

std::span<const std::string_view> MenuCaptions() noexcept {
    return kMenus;
}

} // namespace ozra::ide::gui
