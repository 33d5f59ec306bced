// The list tool windows offscreen, over a real main window and project:
// what each lists, what choosing a row does, the Files window's menu, the
// Clear commands, and windows that closing destroys.
#include "gui_test_support.h"
#include "scripted_prompter.h"

#include "../../support/temp_folder.h"

#include "ide/gui/bookmark_window.h"
#include "ide/gui/files_window.h"
#include "ide/gui/main_window.h"
#include "ide/gui/message_window.h"
#include "ide/gui/output_window.h"
#include "ide/gui/structure_window.h"
#include "ide/gui/tool_tree.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

using enum ToolWindowIndex;

// Each row's text as "text" or "text|path", children indented by two
// blanks.
std::vector<std::string> Rows(const QTreeWidget& tree) {
    std::vector<std::string> rows;
    auto add = [&](auto& self, const QTreeWidgetItem& item, const std::string& indent) -> void {
        std::string row = indent + item.text(0).toStdString();
        if (tree.columnCount() > 1 && !item.text(1).isEmpty())
            row += "|" + item.text(1).toStdString();
        rows.push_back(row);
        for (int child = 0; child < item.childCount(); ++child)
            self(self, *item.child(child), indent + "  ");
    };
    for (int root = 0; root < tree.topLevelItemCount(); ++root)
        add(add, *tree.topLevelItem(root), "");
    return rows;
}

class ToolWindowsTest : public ::testing::Test {
  protected:
    ToolWindowsTest() {
        testing::Application();
        ::setenv("WEFTLINE_HOME", (files.Path + "home/").c_str(), 1);
        MainWindowOptions options;
        options.NoSplash = true;
        window = std::make_unique<TVeIdeForm>(prompter, options);
        window->show();
        window->Start();
    }

    // As the window's view command does.
    template <typename Window> Window& Show(ToolWindowIndex index) {
        auto* shown = dynamic_cast<Window*>(window->ShowToolWindow(index));
        EXPECT_NE(shown, nullptr);
        shown->FocusContent();
        return *shown;
    }
    EditorWindow& Open(const std::string& name, std::string_view text) {
        files.Write(name, text);
        window->OpenFiles({files.Path + name});
        return *window->CurrentEditor();
    }
    // Compiles the current file as a run would, without running it.
    void Check() {
        window->Execute(CommandId::RunFile);
        window->Execute(CommandId::SyntaxCheck);
    }
    void Close(ToolWindowIndex index) {
        auto* dock =
            window->findChild<QDockWidget*>(QString::fromStdString(ToolWindowComponentName(index)));
        ASSERT_NE(dock, nullptr);
        dock->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::int32_t CaretLine(EditorWindow& editor) { return editor.Editor().CaretLine(); }
    std::int32_t CaretColumn(EditorWindow& editor) {
        int line = 0;
        int index = 0;
        editor.Editor().getCursorPosition(&line, &index);
        return index + 1;
    }

    ozra::testing::TempFolder files;
    testing::ScriptedPrompter prompter;
    std::unique_ptr<TVeIdeForm> window;
};

constexpr std::string_view kDefinitions = "<.\n"
                                          "class Point(ax, ay)\n"
                                          "  var X = ax\n"
                                          "  function Describe()\n"
                                          "    result = \"p\" ~ X\n"
                                          "  end function\n"
                                          "end class\n"
                                          "function add(a, b)\n"
                                          "  result = a + b\n"
                                          "end function\n"
                                          ".>\n";

TEST_F(ToolWindowsTest, StructureListsDefinitionsFollowsTheCaretAndSelectsAChosenOne) {
    EditorWindow& editor = Open("s.ozra", kDefinitions);
    auto& structure = Show<TVeStructureWin>(Structure);
    Check();
    ToolTree& tree = structure.Tree();
    EXPECT_EQ(Rows(tree), (std::vector<std::string>{"class Point(ax, ay)", "  function Describe()",
                                                    "function add(a, b)"}));
    EXPECT_TRUE(tree.topLevelItem(0)->isExpanded());

    auto selected = [&]() -> std::string {
        const auto rows = tree.selectedItems();
        return rows.isEmpty() ? "" : rows.front()->text(0).toStdString();
    };
    editor.ShowLine(9);
    EXPECT_EQ(selected(), "function add(a, b)");
    editor.ShowLine(5);
    EXPECT_EQ(selected(), "function Describe()");
    editor.ShowLine(1);
    EXPECT_EQ(selected(), "");

    // Choosing a row selects the definition's opening text, and the
    // selection stays on the chosen row.
    tree.setCurrentItem(tree.topLevelItem(0));
    EXPECT_EQ(CaretLine(editor), 2);
    EXPECT_TRUE(editor.Editor().selectedText().startsWith("class Point(ax, ay)"));
    EXPECT_EQ(selected(), "class Point(ax, ay)");
}

TEST_F(ToolWindowsTest, ClosingStructureDestroysItAndReopeningBuildsANewOne) {
    Open("s.ozra", kDefinitions);
    QPointer<TVeStructureWin> first = &Show<TVeStructureWin>(Structure);
    Check();
    Close(Structure);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(window->WindowManager().Window(Structure), nullptr);
    // A notification for the closed window goes nowhere.
    window->Execute(CommandId::SyntaxCheck);

    auto& second = Show<TVeStructureWin>(Structure);
    EXPECT_EQ(Rows(second.Tree()).size(), 3u) << "the first show fills a new window";
}

TEST_F(ToolWindowsTest, FilesWithoutAProjectFileHoldEveryFileUnderOtherFiles) {
    ASSERT_NE(window->WindowManager().Window(Files), nullptr) << "made at start-up";
    Open("a.ozra", "a\n");
    Open("b.txt", "b\n");
    auto& filesWindow = Show<TVeFilesWin>(Files);
    EXPECT_EQ(Rows(filesWindow.Tree()),
              (std::vector<std::string>{"Other Files", "  a.ozra|" + files.Path + "a.ozra",
                                        "  b.txt|" + files.Path + "b.txt"}));
    EXPECT_TRUE(filesWindow.Tree().topLevelItem(0)->font(0).bold());
    // The current file's row is selected when the current file changes.
    window->Project().SetCurrentUnit(window->Project().Units().front().get());
    ASSERT_EQ(filesWindow.Tree().selectedItems().size(), 1);
    EXPECT_EQ(filesWindow.Tree().selectedItems().front()->text(0), "a.ozra");
}

TEST_F(ToolWindowsTest, FilesOfANewProjectAndTheirMenu) {
    window->Execute(CommandId::NewProject);
    auto& filesWindow = Show<TVeFilesWin>(Files);
    ToolTree& tree = filesWindow.Tree();
    const std::string project = window->Project().ProjectUnit()->DisplayName();
    EXPECT_EQ(Rows(tree), (std::vector<std::string>{project, "  main.ozra"}));

    auto items = [&] {
        filesWindow.PrepareMenu();
        std::vector<std::string> shown;
        for (QAction* action : filesWindow.ContextMenu().actions())
            if (action->isVisible()) shown.push_back(action->text().toStdString());
        return shown;
    };
    tree.setCurrentItem(nullptr);
    EXPECT_TRUE(items().empty());
    tree.setCurrentItem(tree.topLevelItem(0));
    EXPECT_TRUE(items().empty()) << "a root row";
    tree.setCurrentItem(tree.topLevelItem(0)->child(0));
    EXPECT_EQ(items(), (std::vector<std::string>{"Remove form project", "Start File"}));

    Open("other.ozra", "o\n");
    EXPECT_EQ(Rows(tree), (std::vector<std::string>{project, "  main.ozra", "Other Files",
                                                    "  other.ozra|" + files.Path + "other.ozra"}));
    tree.setCurrentItem(tree.topLevelItem(1)->child(0));
    EXPECT_EQ(items(), std::vector<std::string>{"Add to project"});
    filesWindow.ContextMenu().actions().front()->trigger();
    // In the project's order: by full path, an untitled file last.
    EXPECT_EQ(Rows(tree),
              (std::vector<std::string>{project, "  other.ozra|" + files.Path + "other.ozra",
                                        "  main.ozra"}));
    tree.setCurrentItem(tree.topLevelItem(0)->child(0));
    filesWindow.ContextMenu().actions().back()->trigger();
    EXPECT_EQ(window->Project().MainUnit()->DisplayName(), "other.ozra");
}

TEST_F(ToolWindowsTest, WarningsRowsWithAndWithoutAPlace) {
    EditorWindow& editor = Open("w.ozra", "<.\nvar x = 1\n.>\n");
    auto& warnings = Show<TVeMessageWin>(Warnings);
    TVeUnit& unit = editor.Unit();
    auto data = std::make_shared<debugger::TVeDebugData>(unit.ShownName());
    data->Bookmarks.push_back({unit.ShownName(), "Syntax error", 5, 2, 1, 7});
    data->Bookmarks.push_back({unit.ShownName(), "Too many errors."});
    unit.InstallDebugData(data, window->Project().NextStamp());
    EXPECT_EQ(Rows(warnings.Tree()),
              (std::vector<std::string>{"[Error] w.ozra (2): Syntax error",
                                        "[Error] w.ozra : Too many errors."}));

    warnings.Tree().setCurrentItem(warnings.Tree().topLevelItem(1));
    EXPECT_EQ(CaretLine(editor), 1) << "a row without a place does nothing";
    warnings.Tree().setCurrentItem(warnings.Tree().topLevelItem(0));
    EXPECT_EQ(CaretLine(editor), 2);
    EXPECT_EQ(CaretColumn(editor), 5);

    // Enter in the list returns to the editor.
    window->activateWindow();
    warnings.FocusContent();
    ASSERT_TRUE(testing::WaitUntil([&] { return warnings.Tree().hasFocus(); }));
    QTest::keyClick(&warnings.Tree(), Qt::Key_Return);
    EXPECT_TRUE(testing::WaitUntil([&] { return editor.Editor().hasFocus(); }));
}

TEST_F(ToolWindowsTest, ErrorsOfAFailedRunOpenTheirFileAtTheirPlace) {
    EditorWindow& bad = Open("bad.ozra", "<.\nvar x = 1\nx = = 2\n.>\n");
    window->Execute(CommandId::RunFile);
    window->Execute(CommandId::Run);
    EXPECT_EQ(prompter.Questions, std::vector<std::string>{"There are errors, continue run?"});
    EXPECT_FALSE(window->Project().IsDebugging());
    auto* errors = dynamic_cast<TVeMessageWin*>(window->WindowManager().Window(Errors));
    ASSERT_NE(errors, nullptr) << "shown by the compile's errors";
    const std::vector<std::string> rows = Rows(errors->Tree());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].rfind("[Error] bad.ozra (3): ", 0), 0u) << rows[0];

    Open("other.ozra", "o\n");
    errors->Tree().setCurrentItem(errors->Tree().topLevelItem(0));
    EXPECT_EQ(window->CurrentEditor(), &bad);
    EXPECT_EQ(CaretLine(bad), 3);
    EXPECT_EQ(CaretColumn(bad), window->Project().Errors().front().Column);
}

TEST_F(ToolWindowsTest, BookmarksListClearAndGoToTheirLines) {
    EditorWindow& a = Open("a.ozra", "1\n2\n3\n4\n5\n");
    EditorWindow& b = Open("b.ozra", "1\n2\n3\n");
    a.Unit().ToggleBookmark(5, true);
    a.Unit().ToggleBookmark(2, true);
    b.Unit().ToggleBookmark(3, true);
    auto& bookmarks = Show<TVeBookmarkWin>(Bookmarks);
    ToolTree& tree = bookmarks.Tree();
    EXPECT_EQ(Rows(tree), (std::vector<std::string>{"a.ozra (2)", "  Line 2", "  Line 5",
                                                    "b.ozra (1)", "  Line 3"}));
    EXPECT_EQ(bookmarks.ClearFileAction().text(), "&Clear select file");
    EXPECT_EQ(bookmarks.ClearAllAction().text(), "Clear &all files");
    EXPECT_FALSE(bookmarks.ClearFileAction().isEnabled());
    EXPECT_TRUE(bookmarks.ClearAllAction().isEnabled());

    tree.setCurrentItem(tree.topLevelItem(0)->child(1));
    EXPECT_EQ(window->CurrentEditor(), &a);
    EXPECT_EQ(CaretLine(a), 5);
    ASSERT_TRUE(bookmarks.ClearFileAction().isEnabled());
    bookmarks.ClearFileAction().trigger();
    EXPECT_TRUE(a.Unit().Bookmarks().Empty());
    EXPECT_EQ(Rows(tree), (std::vector<std::string>{"b.ozra (1)", "  Line 3"}));

    bookmarks.ClearAllAction().trigger();
    EXPECT_TRUE(b.Unit().Bookmarks().Empty());
    EXPECT_TRUE(Rows(tree).empty());
    EXPECT_FALSE(bookmarks.ClearFileAction().isEnabled());
    EXPECT_FALSE(bookmarks.ClearAllAction().isEnabled());
}

TEST_F(ToolWindowsTest, ClearingBreakpointsTakesThemOutOfTheDebugData) {
    EditorWindow& editor = Open("p.ozra", "<.\nvar x = 1\nx = 2\n.>\n");
    Check();
    editor.Unit().ToggleBreakpoint(2);
    editor.Unit().ToggleBreakpoint(3);
    ASSERT_TRUE(editor.Unit().DebugDataUpToDate());
    ASSERT_TRUE(editor.Unit().DebugData()->HasBreakpoint(3));
    auto& breakpoints = Show<TVeBookmarkWin>(Breakpoints);
    EXPECT_EQ(Rows(breakpoints.Tree()),
              (std::vector<std::string>{"p.ozra (2)", "  Line 2", "  Line 3"}));
    breakpoints.ClearAllAction().trigger();
    EXPECT_TRUE(editor.Unit().Breakpoints().Empty());
    EXPECT_FALSE(editor.Unit().DebugData()->HasBreakpoint(2));
    EXPECT_FALSE(editor.Unit().DebugData()->HasBreakpoint(3));
    EXPECT_TRUE(Rows(breakpoints.Tree()).empty());
}

TEST_F(ToolWindowsTest, ClearedBreakpointsNoLongerStopARunInProgress) {
    window->OpenFiles({std::string(OZRA_TEST_DATA_DIR) + "/debug/debug.ozraproj"});
    TVeUnit& main = *window->Project().MainUnit();
    main.OpenInEditor();
    main.ToggleBreakpoint(8);
    main.ToggleBreakpoint(9);
    auto& debugger = window->Project().Debugger();
    window->Execute(CommandId::Run);
    ASSERT_TRUE(testing::WaitUntil([&] { return debugger.IsPaused(); }));

    Show<TVeBookmarkWin>(Breakpoints).ClearAllAction().trigger();
    window->Execute(CommandId::Run);
    // Finished, without stopping at the line after.
    auto output = [&] { return window->Output()->toPlainText().toStdString(); };
    EXPECT_TRUE(testing::WaitUntil([&] { return output() == "start\nx=3\nend\n"; })) << output();
}

} // namespace
} // namespace ozra::ide::gui
