// The command table row by row, and the enabling rules.
#include "ide/core/config_file.h"
#include "ide/gui/command_enabling.h"
#include "ide/gui/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ozra::ide::gui {
namespace {

struct Row {
    std::string_view Name, Caption, Shortcut;
};

// The product's own command list: name, caption and built-in shortcut.
const std::vector<Row> kExpected = {
    {"actNewProject", "New Pro&ject", "Ctrl+Shift+N"},
    {"actFileNew", "&New File", "Ctrl+N"},
    {"actFileOpen", "&Open...", "Ctrl+O"},
    {"actFileSave", "&Save", "Ctrl+S"},
    {"actFileSaveAs", "Save &As...", ""},
    {"actFileSaveAll", "Sa&ve All", "Ctrl+Shift+S"},
    {"actFileClose", "&Close", "Ctrl+F4"},
    {"actFileCloseAll", "Close All", ""},
    {"actFileExit", "E&xit", ""},
    {"actEditUndo", "&Undo", "Ctrl+Z"},
    {"actEditRedo", "&Redo", "Ctrl+Shift+Z"},
    {"actEditCopy", "&Copy", "Ctrl+C"},
    {"actEditCut", "Cu&t", "Ctrl+X"},
    {"actEditPaste", "&Paste", "Ctrl+V"},
    {"actEditDelete", "&Delete", ""},
    {"actEditSelectAll", "Se&lect All", "Ctrl+A"},
    {"actShowSpecialChars", "Show Special Chars", ""},
    {"actEditLineWrap", "Wrap Line", ""},
    {"actToggleBookmark", "Toggle &Bookmark", "F2"},
    {"actToggleBreakpoint", "Toggle Brea&kpoint", "F5"},
    {"actSearchFind", "&Find", "Ctrl+F"},
    {"actSearchReplace", "&Replace", "Ctrl+R"},
    {"actSearchFindNext", "Find &Next", "F3"},
    {"actFindPrev", "Find &Previous", "Shift+F3"},
    {"actViewStructure", "Struc&ture", "Ctrl+Shift+T"},
    {"actViewFiles", "Project &Files", "Ctrl+Shift+F"},
    {"actViewOutput", "&Output", "Ctrl+Shift+O"},
    {"actViewWarning", "&Warnings", "Ctrl+Shift+W"},
    {"actViewError", "&Errors", "Ctrl+Shift+E"},
    {"actViewBookmark", "&Bookmarks", "Ctrl+Shift+B"},
    {"actViewBreakpoint", "Break&points", "Ctrl+Shift+P"},
    {"actViewCommand", "&Command", "Ctrl+Shift+C"},
    {"actViewSearchResult", "Search &Result", "Ctrl+Shift+R"},
    {"actViewLayoutManager", "&Layout Manager", "Ctrl+Shift+L"},
    {"actRun", "&Run", "F9"},
    {"actProjectPause", "&Pause", ""},
    {"actProjectStop", "&Stop", ""},
    {"actRunProject", "Run Scope - &Project", ""},
    {"actRunFile", "Run Scope - &File", ""},
    {"actRunFromCursor", "Run Scope - &Block", ""},
    {"actSyntaxCheck", "Syntax &Check", "Ctrl+F9"},
    {"actDebugStep", "Step &Over", "F8"},
    {"actDebugInto", "&Trace Into", "F7"},
    {"actDebugReturn", "Run &Until Return", "Shift+F8"},
    {"actDebugCursor", "Run to &Cursor", "F4"},
    {"actToolsOptions", "&Options", ""},
    {"actCustomize", "&Customize...", ""},
    {"actHelpContents", "&Contents", ""},
    {"actHelpOzra", "&Ozra Manual", ""},
    {"actHelpOzraApi", "O&zra API", ""},
    {"actHelpVisitHome", "Visit Velkor Homepage", ""},
    {"actHelpAbout", "&About Weftline Studio", ""},
};

TEST(CommandTable, HoldsEveryCommandRowByRow) {
    const auto commands = Commands();
    ASSERT_EQ(commands.size(), kExpected.size());
    for (std::size_t i = 0; i < kExpected.size(); ++i) {
        SCOPED_TRACE(kExpected[i].Name);
        EXPECT_EQ(commands[i].Name, kExpected[i].Name);
        EXPECT_EQ(commands[i].Caption, kExpected[i].Caption);
        EXPECT_EQ(commands[i].Shortcut, kExpected[i].Shortcut);
        EXPECT_NE(commands[i].Hint.find('|'), std::string_view::npos);
    }
}

TEST(CommandTable, EveryCategoryIsAMenuAndOnlyScopeChoicesAndRunToCursorAreSpecial) {
    for (const Command& command : Commands()) {
        SCOPED_TRACE(command.Name);
        bool menuFound = false;
        for (std::string_view menu : MenuCaptions())
            menuFound |= PlainCaption(menu) == command.Category;
        EXPECT_TRUE(menuFound);
    }
    EXPECT_TRUE(CommandOf(CommandId::RunFromCursor).Flags & kHidden);
    EXPECT_TRUE(CommandOf(CommandId::DebugCursor).Flags & kHidden);
    EXPECT_TRUE(CommandOf(CommandId::RunFile).Flags & kRunScope);
    EXPECT_TRUE(CommandOf(CommandId::EditLineWrap).Flags & kToggle);
}

CommandState Idle() {
    CommandState state;
    state.HasMainUnit = true;
    state.HasUnits = true;
    state.CurrentEditorShowing = true;
    return state;
}

TEST(CommandEnabling, FollowsTheStateOfProjectEditorAndRun) {
    using enum CommandId;
    struct Case {
        const char* What;
        std::function<void(CommandState&)> Change;
        std::vector<CommandId> Enabled;
        std::vector<CommandId> Disabled;
    };
    const std::vector<Case> cases = {
        {"idle project",
         [](CommandState&) {},
         {Run, SyntaxCheck, DebugStep, DebugInto, FileClose, FileSaveAs, ToggleBreakpoint,
          SearchFind},
         {ProjectPause, ProjectStop, DebugReturn, FileSave, FileSaveAll, EditCopy, EditPaste,
          EditSelectAll}},
        {"file scope without an editor",
         [](CommandState& s) {
             s.Scope = RunScopeChoice::File;
             s.CurrentEditorShowing = false;
         },
         {},
         {Run, SyntaxCheck, DebugStep, DebugInto, FileClose, ToggleBookmark}},
        {"file scope without an editor while paused",
         [](CommandState& s) {
             s.Scope = RunScopeChoice::File;
             s.CurrentEditorShowing = false;
             s.Debugging = s.Paused = true;
         },
         {DebugStep, DebugInto, DebugReturn, ProjectStop},
         {Run, SyntaxCheck, ProjectPause}},
        {"running",
         [](CommandState& s) { s.Debugging = true; },
         {ProjectPause, ProjectStop},
         {Run, SyntaxCheck, DebugStep, DebugInto, DebugReturn}},
        {"paused",
         [](CommandState& s) { s.Debugging = s.Paused = true; },
         {Run, DebugStep, DebugInto, DebugReturn, ProjectStop},
         {SyntaxCheck, ProjectPause}},
        {"compiling",
         [](CommandState& s) { s.Compiling = true; },
         {},
         {Run, DebugStep, SyntaxCheck}},
        {"block scope needs a node at the caret",
         [](CommandState& s) { s.Scope = RunScopeChoice::Block; },
         {},
         {Run}},
        {"block scope with a node",
         [](CommandState& s) {
             s.Scope = RunScopeChoice::Block;
             s.NodeAtCaret = true;
         },
         {Run},
         {}},
        {"no main unit", [](CommandState& s) { s.HasMainUnit = false; }, {}, {Run, DebugStep}},
        {"no units",
         [](CommandState& s) { s.HasUnits = false; },
         {},
         {SearchFind, SearchReplace, SearchFindNext, FindPrev}},
        {"modified current unit",
         [](CommandState& s) { s.CurrentModified = s.AnyUnitModified = true; },
         {FileSave, FileSaveAll},
         {}},
        {"focused read-only editor with a selection",
         [](CommandState& s) { s.FocusIsEditor = s.FocusHasSelection = s.FocusCanUndo = true; },
         {EditCopy, EditSelectAll},
         {EditCut, EditPaste, EditDelete, EditUndo}},
        {"focused writable editor",
         [](CommandState& s) { s.FocusIsEditor = s.FocusWritable = s.FocusCanRedo = true; },
         {EditPaste, EditDelete, EditRedo},
         {EditCut, EditCopy, EditUndo}},
        {"busy project", [](CommandState& s) { s.Busy = true; }, {}, {NewProject}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        CommandState state = Idle();
        c.Change(state);
        for (CommandId id : c.Enabled)
            EXPECT_TRUE(IsEnabled(id, state)) << CommandOf(id).Name;
        for (CommandId id : c.Disabled)
            EXPECT_FALSE(IsEnabled(id, state)) << CommandOf(id).Name;
    }
}

} // namespace
} // namespace ozra::ide::gui
