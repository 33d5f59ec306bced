// The main window offscreen: opening files and projects, recent files,
// closing, saving bytes unchanged, enabling from the real state.
#include "gui_test_support.h"
#include "scripted_prompter.h"

#include "../../support/temp_folder.h"

#include "ide/core/environment_files.h"
#include "ide/core/text_languages.h"
#include "ide/gui/main_window.h"

#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

namespace ozra::ide::gui {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        testing::Application();
        ::setenv("WEFTLINE_HOME", (files.Path + "home/").c_str(), 1);
    }

    TVeIdeForm& Window(std::vector<std::string> open = {}) {
        MainWindowOptions options;
        options.Files = std::move(open);
        options.NoSplash = true;
        window = std::make_unique<TVeIdeForm>(prompter, options);
        window->show();
        window->Start();
        return *window;
    }
    int EditorCount() const { return window->findChild<QTabWidget*>("EditorArea")->count(); }

    ozra::testing::TempFolder files;
    testing::ScriptedPrompter prompter;
    std::unique_ptr<TVeIdeForm> window;
};

TEST_F(MainWindowTest, CommandLineOpensAProjectAsTheProjectAndReportsAMissingFile) {
    files.Write(
        "p/a.OZRAPROJ",
        "<?xml version=\"1.0\"?>\n<project>\n  <files>\n    <file type=\"main\">m.ozra</file>\n"
        "  </files>\n</project>\n");
    files.Write("p/m.ozra", "hello\n");
    TVeIdeForm& w = Window({files.Path + "p/a.OZRAPROJ", files.Path + "gone.ozra"});
    ASSERT_NE(w.Project().ProjectUnit(), nullptr);
    ASSERT_NE(w.Project().MainUnit(), nullptr);
    EXPECT_EQ(w.Project().MainUnit()->DisplayName(), "m.ozra");
    EXPECT_EQ(prompter.Errors,
              std::vector<std::string>{"File " + files.Path + "gone.ozra not exists"});
    EXPECT_EQ(w.Recent().Entries(), std::vector<std::string>{files.Path + "p/a.OZRAPROJ"});
}

TEST_F(MainWindowTest, AFileOpenedTwiceHasOneEditorAndTopsTheRecentList) {
    files.Write("a.ozra", "a\n");
    files.Write("b.ozra", "b\n");
    TVeIdeForm& w = Window();
    w.OpenFiles({files.Path + "a.ozra", files.Path + "b.ozra", files.Path + "a.ozra"});
    EXPECT_EQ(EditorCount(), 2);
    EXPECT_EQ(w.Project().CurrentUnit()->DisplayName(), "a.ozra");
    EXPECT_EQ(w.Recent().Entries(),
              (std::vector<std::string>{files.Path + "a.ozra", files.Path + "b.ozra"}));
}

TEST_F(MainWindowTest, RecentFilesSurviveARestartAndAVanishedOneIsDropped) {
    files.Write("a.ozra", "a\n");
    files.Write("b.ozra", "b\n");
    Window({files.Path + "a.ozra", files.Path + "b.ozra"});
    ASSERT_TRUE(window->close());
    std::filesystem::remove(files.Path + "a.ozra");
    TVeIdeForm& w = Window();
    ASSERT_EQ(w.Recent().Entries().size(), 2u);
    w.OpenRecent(files.Path + "a.ozra");
    EXPECT_EQ(prompter.Errors,
              std::vector<std::string>{"File " + files.Path + "a.ozra not exists"});
    EXPECT_EQ(w.Recent().Entries(), std::vector<std::string>{files.Path + "b.ozra"});
}

TEST_F(MainWindowTest, CancelOnClosingAModifiedUntitledFileKeepsTheWindow) {
    TVeIdeForm& w = Window();
    w.Execute(CommandId::FileNew);
    ASSERT_NE(w.CurrentEditor(), nullptr);
    w.CurrentEditor()->Editor().insert("text");
    ASSERT_TRUE(w.Project().CurrentUnit()->Modified());
    prompter.Answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(prompter.Questions.size(), 1u);
    EXPECT_FALSE(files.Exists("home/Default.toolbar"));
}

TEST_F(MainWindowTest, AFileWithInvalidUtf8AndCrLfIsSavedByteForByte) {
    const std::string bytes = "caf\xE9\r\n<. x = \"\xC3\xA9\xFF\" .>\r\n\r\nend\x80";
    files.Write("raw.ozra", bytes);
    TVeIdeForm& w = Window({files.Path + "raw.ozra"});
    ASSERT_NE(w.CurrentEditor(), nullptr);
    w.CurrentEditor()->Unit().SetModified(true);
    w.Execute(CommandId::FileSave);
    EXPECT_TRUE(prompter.Errors.empty());
    EXPECT_EQ(files.Read("raw.ozra"), bytes);
}

TEST_F(MainWindowTest, ShortcutsFromTheConfigurationReplaceTheBuiltInOnes) {
    files.Write("home/WeftlineStudio.config",
                "<configs><ShortCuts name=\"Short Cuts\" type=\"Catalog\">"
                "<Edit name=\"Edit\" type=\"Section\">"
                "<key name=\"Undo\" type=\"Text\" value=\"Alt+BkSp\"/>"
                "</Edit></ShortCuts></configs>");
    files.Write("a.ozra", "abc");
    TVeIdeForm& w = Window({files.Path + "a.ozra"});
    EXPECT_EQ(w.Action(CommandId::EditUndo).shortcut(), QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_EQ(w.Action(CommandId::EditRedo).shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(w.Action(CommandId::EditCopy).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));

    ScriptEditor& editor = w.CurrentEditor()->Editor();
    w.activateWindow();
    editor.setFocus();
    editor.SelectBytes(3, 0);
    // Keys as the window system delivers them, shortcuts first.
    QWindow* system = w.windowHandle();
    QTest::keyClick(system, Qt::Key_D);
    ASSERT_EQ(editor.Bytes(), "abcd");
    // Ctrl+Z belongs to no command now, and the editor does not undo by
    // itself; the configured key undoes.
    QTest::keyClick(system, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.Bytes(), "abcd");
    w.UpdateCommands();
    QTest::keyClick(system, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(editor.Bytes(), "abc");
    EXPECT_TRUE(prompter.Errors.empty());
}

TEST_F(MainWindowTest, TheHighlighterFollowsTheFileNameAndStylesTemplateCode) {
    files.Write("page.html", "<b>x</b><. if (a) .>[.. note ..]\n");
    files.Write("README", "plain\n");
    TVeIdeForm& w = Window({files.Path + "page.html"});
    EditorWindow& page = *w.CurrentEditor();
    EXPECT_EQ(page.HighlighterName(), "HTML");
    EXPECT_EQ(page.StatusBar().PanelText(EditorStatusBar::kHighlighter).toStdString(), "HTML");
    ScriptEditor& editor = page.Editor();
    const auto styleAt = [&](long at) {
        return static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, at));
    };
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
    EXPECT_EQ(styleAt(1), TemplateLexer::kTextBase + static_cast<int>(TextToken::Tag));
    EXPECT_EQ(styleAt(8), TemplateLexer::kCodeMarker);
    EXPECT_EQ(styleAt(11), TemplateLexer::kCodeBase + static_cast<int>(OzraToken::Key));
    EXPECT_EQ(styleAt(21), TemplateLexer::kCommentMarker);
    EXPECT_EQ(styleAt(25), TemplateLexer::kComment);

    w.OpenFiles({files.Path + "README"});
    EXPECT_EQ(w.CurrentEditor()->HighlighterName(), "[None]");
}

// The panel names the text highlighter, the one for the text around code
// blocks: XML for the project file, the one a project entry names, and
// plain text for a template whose extension names none.
TEST_F(MainWindowTest, TheStatusBarNamesEachEditorsTextHighlighter) {
    files.Write("p/p.ozraproj", "<?xml version=\"1.0\"?>\n<project>\n  <files>\n"
                                "    <file type=\"main\">m.ozra</file>\n"
                                "    <file type=\"script\" syntax=\"sql\">q.ozra</file>\n"
                                "  </files>\n</project>\n");
    files.Write("p/m.ozra", "<. x = 1 .>\n");
    files.Write("p/q.ozra", "select <. x .>\n");
    TVeIdeForm& w = Window({files.Path + "p/p.ozraproj"});
    std::map<std::string, std::string> panels;
    for (const auto& unit : w.Project().Units()) {
        unit->OpenInEditor();
        panels[unit->DisplayName()] =
            w.CurrentEditor()->StatusBar().PanelText(EditorStatusBar::kHighlighter).toStdString();
    }
    EXPECT_EQ(panels, (std::map<std::string, std::string>{
                          {"p.ozraproj", "XML"}, {"m.ozra", "[None]"}, {"q.ozra", "SQL"}}));
}

TEST_F(MainWindowTest, OptionsRunTheOzraProgramWithAnArgumentListThenApplyTheConfiguration) {
    // A stand-in for the program: it records its arguments and changes the
    // configuration file it is given.
    files.Write(
        "bin/ozra",
        "#!/bin/sh\n"
        "printf '%s\\n' \"$@\" > \"$WEFTLINE_HOME/options-arguments\"\n"
        "cat > \"${2#/PConfigFile=}\" <<'END'\n"
        "<configs><ShortCuts><Edit name=\"Edit\"><key name=\"Undo\" value=\"Ctrl+Shift+U\"/>"
        "</Edit></ShortCuts></configs>\n"
        "END\n");
    std::filesystem::permissions(files.Path + "bin/ozra", std::filesystem::perms::owner_all);
    const std::string path = ::getenv("PATH");
    TVeIdeForm& w = Window();

    ::setenv("PATH", "/nonexistent", 1);
    w.Execute(CommandId::ToolsOptions);
    EXPECT_EQ(prompter.Errors, std::vector<std::string>{"Velkor Ozra Virtual Machine not found!"});

    ::setenv("PATH", (files.Path + "bin:" + path).c_str(), 1);
    w.Execute(CommandId::ToolsOptions);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(files.Read("home/options-arguments"),
              DataFolder() + "Config/WeftlineStudioConfig.ozraproj\n/PConfigFile=" + files.Path +
                  "home/WeftlineStudio.config\n");
    EXPECT_EQ(w.Action(CommandId::EditUndo).shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
}

TEST_F(MainWindowTest, TheIdleCheckUnderlinesErrorsAndMarksLinesThatCannotBreak) {
    files.Write("bad.ozra", "<.. note ..>\n<. var a = 1\n?? a +\n.>\n");
    TVeIdeForm& w = Window({files.Path + "bad.ozra"});
    w.activateWindow();
    TVeUnit& unit = w.CurrentEditor()->Unit();
    unit.ToggleBreakpoint(1);
    ASSERT_TRUE(testing::WaitUntil([&] { return unit.DebugDataUpToDate(); }));
    ScriptEditor& editor = w.CurrentEditor()->Editor();
    ASSERT_FALSE(unit.DebugData()->Bookmarks.empty());
    const debugger::TVeBookmark& error = unit.DebugData()->Bookmarks.front();
    EXPECT_NE(editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 8UL,
                                   static_cast<long>(error.Offset)),
              0);
    EXPECT_TRUE(editor.markersAtLine(0) & (1u << static_cast<int>(GutterGlyph::InvalidBreakpoint)));
    EXPECT_TRUE(editor.markersAtLine(1) & (1u << static_cast<int>(GutterGlyph::Executable)));
}

TEST_F(MainWindowTest, CopyPutsHtmlAndRtfBesideThePlainText) {
    files.Write("c.ozra", "text <. var a = 1 .>\n");
    TVeIdeForm& w = Window({files.Path + "c.ozra"});
    ScriptEditor& editor = w.CurrentEditor()->Editor();
    w.activateWindow();
    editor.setFocus();
    ASSERT_TRUE(testing::WaitUntil([&] { return QApplication::focusWidget() == &editor; }));
    editor.SelectBytes(5, 15);
    w.Execute(CommandId::EditCopy);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text().toStdString(), "<. var a = 1 .>");
    EXPECT_NE(copied->html().toStdString().find("&lt;."), std::string::npos);
    EXPECT_TRUE(copied->data("text/rtf").startsWith("{\\rtf1"));
}

TEST_F(MainWindowTest, AFileChangedOnDiskIsReloadedOnceAskedAfterTheApplicationWasAway) {
    files.Write("e.ozra", "old\n");
    TVeIdeForm& w = Window({files.Path + "e.ozra"});
    EditorWindow& editor = *w.CurrentEditor();
    w.activateWindow();
    ASSERT_TRUE(testing::WaitUntil(
        [] { return QGuiApplication::applicationState() == Qt::ApplicationActive; }));
    editor.Idle();
    files.Write("e.ozra", "new\r\n");
    std::filesystem::last_write_time(files.Path + "e.ozra",
                                     std::filesystem::last_write_time(files.Path + "e.ozra") +
                                         std::chrono::seconds(5));
    editor.Idle();
    EXPECT_TRUE(prompter.Questions.empty()) << "checked once per activation";
    editor.ApplicationDeactivated();
    prompter.Answers = {Answer::Yes};
    editor.Idle();
    ASSERT_EQ(prompter.Questions.size(), 1u);
    EXPECT_EQ(editor.Text(), "new\r\n");
    EXPECT_FALSE(editor.Unit().Modified());
}

TEST_F(MainWindowTest, TheStatusBarShowsLinesCaretSelectionModeAndHighlighter) {
    files.Write("s.ozra", "one\ntwo\nthree\n");
    TVeIdeForm& w = Window({files.Path + "s.ozra"});
    EditorWindow& window = *w.CurrentEditor();
    const auto panel = [&](EditorStatusBar::Panel p) {
        window.StatusBar().Update(window.Editor());
        return window.StatusBar().PanelText(p).toStdString();
    };
    window.Editor().setCursorPosition(1, 2);
    EXPECT_EQ(panel(EditorStatusBar::kLines), "4 lines");
    EXPECT_EQ(panel(EditorStatusBar::kCaret), "2:3");
    EXPECT_EQ(panel(EditorStatusBar::kSelection), "6:0");
    window.Select(5, 3); // the caret ends the selection: line 3, column 1
    EXPECT_EQ(panel(EditorStatusBar::kCaret), "3:1");
    EXPECT_EQ(panel(EditorStatusBar::kSelection), "5:3");
    EXPECT_EQ(panel(EditorStatusBar::kMode), "Insert");
    EXPECT_EQ(panel(EditorStatusBar::kHighlighter), "[None]");
    window.Editor().setOverwriteMode(true);
    EXPECT_EQ(panel(EditorStatusBar::kMode), "Overwrite");
}

TEST_F(MainWindowTest, DroppedFilesAreOpened) {
    files.Write("d.ozra", "d\n");
    TVeIdeForm& w = Window();
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(files.Path + "d.ozra"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    ASSERT_NE(w.CurrentEditor(), nullptr);
    EXPECT_EQ(w.CurrentEditor()->Unit().DisplayName(), "d.ozra");
}

TEST_F(MainWindowTest, FileScopeWithoutAnEditorDisablesRunAndCheck) {
    TVeIdeForm& w = Window();
    w.Execute(CommandId::RunFile);
    w.UpdateCommands();
    EXPECT_FALSE(w.Action(CommandId::Run).isEnabled());
    EXPECT_FALSE(w.Action(CommandId::SyntaxCheck).isEnabled());
    EXPECT_FALSE(w.Action(CommandId::DebugStep).isEnabled());
    w.Execute(CommandId::FileNew);
    w.UpdateCommands();
    EXPECT_TRUE(w.Action(CommandId::Run).isEnabled());
    EXPECT_TRUE(w.Action(CommandId::FileClose).isEnabled());
}

} // namespace
} // namespace ozra::ide::gui
