// The Command window offscreen: the prompt and its read-only rules, the
// history, the answers without a run, inspection of a paused run end to
// end, and a window that closing only hides.
#include "gui_test_support.h"
#include "scripted_prompter.h"

#include "../../support/temp_folder.h"

#include "ide/gui/command_window.h"
#include "ide/gui/main_window.h"

#include <Qsci/qsciscintilla.h>

#include <QDockWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

class CommandWindowTest : public ::testing::Test {
  protected:
    CommandWindowTest() {
        testing::Application();
        ::setenv("WEFTLINE_HOME", (home.Path).c_str(), 1);
        MainWindowOptions options;
        options.NoSplash = true;
        options.Files = {std::string(OZRA_TEST_DATA_DIR) + "/debug/debug.ozraproj"};
        window = std::make_unique<TVeIdeForm>(prompter, options);
        window->show();
        window->Start();
    }

    // Shows the window the first time, as its view command does.
    TVeCommandWin& Command() {
        if (!command) {
            window->Execute(CommandId::ViewCommand);
            command = dynamic_cast<TVeCommandWin*>(
                window->WindowManager().Window(ToolWindowIndex::Command));
        }
        EXPECT_NE(command, nullptr);
        return *command;
    }
    QsciScintilla& Editor() { return Command().Editor(); }
    void Type(const QString& text) { QTest::keyClicks(&Editor(), text); }
    void Key(Qt::Key key) { QTest::keyClick(&Editor(), key); }
    void Enter(const QString& command) {
        Type(command);
        Key(Qt::Key_Return);
    }
    std::string Text() { return Editor().text().toStdString(); }
    std::string LastLine() {
        QsciScintilla& editor = Editor();
        return editor.text(editor.lines() - 1).toStdString();
    }

    ozra::testing::TempFolder home;
    testing::ScriptedPrompter prompter;
    std::unique_ptr<TVeIdeForm> window;
    TVeCommandWin* command = nullptr;
};

TEST_F(CommandWindowTest, AnswersWithoutARunAndWalksTheHistory) {
    EXPECT_EQ(Text(), ">");
    Enter("?a");
    Enter("?b");
    Enter("list");
    Enter("  ");
    EXPECT_EQ(Text(), ">?a\nNot running\n>?b\nNot running\n>list\nUnknown command\n>  ");
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(LastLine(), ">") << "the prompt cannot be deleted";

    Enter("?A"); // an equal entry, ignoring case, moves to the end
    EXPECT_EQ(Command().History(), (QStringList{"?b", "list", "?A"}));
    Key(Qt::Key_Up);
    EXPECT_EQ(LastLine(), ">?A");
    Key(Qt::Key_Up);
    EXPECT_EQ(LastLine(), ">list");
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(LastLine(), ">?b") << "nothing before the oldest";
    Key(Qt::Key_Down);
    EXPECT_EQ(LastLine(), ">list");
}

TEST_F(CommandWindowTest, EarlierLinesAreReadOnlyAndEnterCopiesThemToThePrompt) {
    Enter("?a");
    QsciScintilla& editor = Editor();
    const int lines = editor.lines();
    editor.setCursorPosition(0, 2);
    EXPECT_TRUE(editor.isReadOnly());
    Type("zz");
    EXPECT_EQ(editor.text(0).toStdString(), ">?a\n");
    Key(Qt::Key_Return);
    EXPECT_EQ(editor.lines(), lines) << "nothing runs";
    EXPECT_EQ(LastLine(), ">?a");
    EXPECT_FALSE(editor.isReadOnly());

    editor.setCursorPosition(editor.lines() - 1, 0);
    EXPECT_TRUE(editor.isReadOnly()) << "before the prompt's first character";
}

TEST_F(CommandWindowTest, ClosingHidesTheWindowWithItsTextAndHistory) {
    TVeCommandWin* first = &Command();
    Enter("?a");
    auto* dock = window->findChild<QDockWidget*>("Command");
    ASSERT_NE(dock, nullptr);
    dock->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dock->isVisible());
    EXPECT_EQ(window->WindowManager().Window(ToolWindowIndex::Command), first);
    window->Execute(CommandId::ViewCommand);
    EXPECT_EQ(window->WindowManager().Window(ToolWindowIndex::Command), first);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(Text(), ">?a\nNot running\n>");
    EXPECT_EQ(Command().History(), QStringList{"?a"});
}

TEST_F(CommandWindowTest, InspectsAPausedRun) {
    TVeUnit& main = *window->Project().MainUnit();
    main.OpenInEditor();
    main.ToggleBreakpoint(8);
    window->Execute(CommandId::Run);
    auto& debugger = window->Project().Debugger();
    ASSERT_TRUE(testing::WaitUntil([&] { return debugger.IsPaused(); }));
    Enter("?  x");
    Enter("?missing");
    window->Execute(CommandId::ProjectStop);
    ASSERT_TRUE(testing::WaitUntil([&] { return !window->Project().IsDebugging(); }));
    Enter("?x");
    EXPECT_EQ(Text(), ">?  x\n1\n>?missing\nvariable missing not found.\n>?x\nNot running\n>");
}

} // namespace
} // namespace ozra::ide::gui
