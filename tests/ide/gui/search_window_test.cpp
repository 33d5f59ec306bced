// The Find and Replace and Search Result windows offscreen, driven through
// the main window's commands and the windows' own controls.
#include "gui_test_support.h"
#include "scripted_prompter.h"

#include "../../support/temp_folder.h"

#include "ide/core/environment_files.h"
#include "ide/gui/main_window.h"
#include "ide/gui/search_result_window.h"
#include "ide/gui/search_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace ozra::ide::gui {
namespace {

using Selection = std::pair<std::int32_t, std::int32_t>;

class SearchWindowTest : public ::testing::Test {
  protected:
    SearchWindowTest() {
        testing::Application();
        ::setenv("WEFTLINE_HOME", (files.Path + "home/").c_str(), 1);
        Restart();
    }

    void Restart(std::vector<std::string> open = {}) {
        window.reset();
        MainWindowOptions options;
        options.Files = std::move(open);
        options.NoSplash = true;
        window = std::make_unique<TVeIdeForm>(prompter, options);
        window->show();
        window->Start();
    }
    // A file written and opened in an editor, current.
    TVeUnit& Open(const std::string& name, const std::string& text) {
        files.Write(name, text);
        window->OpenFiles({files.Path + name});
        return *window->Project().CurrentUnit();
    }
    // A project of a main file and code files, each "name=text".
    void OpenProject(const std::vector<std::pair<std::string, std::string>>& units) {
        std::string list;
        for (const auto& [name, text] : units) {
            files.Write("p/" + name, text);
            list += "<file type=\"" + std::string(list.empty() ? "main" : "code") + "\">" + name +
                    "</file>";
        }
        files.Write("p/p.ozraproj", "<project><files>" + list + "</files></project>");
        window->OpenFiles({files.Path + "p/p.ozraproj"});
    }
    TVeUnit& Unit(const std::string& name) {
        return *window->Project().FindUnit(files.Path + name);
    }
    static EditorWindow& EditorOf(const TVeUnit& unit) {
        return *dynamic_cast<EditorWindow*>(unit.Editor());
    }
    static Selection SelectionOf(const TVeUnit& unit) {
        return {EditorOf(unit).SelectionStart(), EditorOf(unit).SelectionLength()};
    }

    TVeSearchWin& Command(CommandId command) {
        window->Execute(command);
        return SearchWindow();
    }
    TVeSearchWin& SearchWindow() {
        auto* search = dynamic_cast<TVeSearchWin*>(
            window->WindowManager().Window(ToolWindowIndex::FindAndReplace));
        EXPECT_NE(search, nullptr);
        return *search;
    }
    template <typename Part> Part& Get(const char* name) {
        auto* part = window->findChild<Part*>(name);
        EXPECT_NE(part, nullptr) << name;
        return *part;
    }
    void Click(const char* button) { Get<QPushButton>(button).click(); }
    void Check(const char* box, bool on) { Get<QAbstractButton>(box).setChecked(on); }
    QString FindText() { return Get<QComboBox>("FindText").currentText(); }
    void SetTexts(const QString& find, const QString& replace = {}) {
        Get<QComboBox>("FindText").setEditText(find);
        Get<QComboBox>("ReplaceText").setEditText(replace);
    }
    bool Shown(const char* name) { return Get<QWidget>(name).isVisibleTo(&SearchWindow()); }
    std::vector<std::string> TakeInfos() { return std::exchange(prompter.Infos, {}); }

    ozra::testing::TempFolder files;
    testing::ScriptedPrompter prompter;
    std::unique_ptr<TVeIdeForm> window;
};

TEST_F(SearchWindowTest, OpeningTakesTheSelectionOrTheWordAtTheCaret) {
    Command(CommandId::SearchFind);
    EXPECT_EQ(FindText(), "");

    TVeUnit& unit = Open("a.txt", "hello world\nfoo bar");
    EditorOf(unit).Select(8, 0);
    TVeSearchWin& search = Command(CommandId::SearchFind);
    EXPECT_EQ(FindText(), "world");
    EXPECT_EQ(Get<QComboBox>("FindText").lineEdit()->selectedText(), "world");
    EXPECT_EQ(Get<QTabBar>("Pages").currentIndex(), 0);
    EXPECT_FALSE(Shown("ReplaceText"));
    EXPECT_FALSE(Shown("Replace"));

    EditorOf(unit).Select(0, 5);
    EXPECT_EQ(&Command(CommandId::SearchReplace), &search);
    EXPECT_EQ(FindText(), "hello");
    EXPECT_EQ(Get<QTabBar>("Pages").currentIndex(), 1);
    EXPECT_TRUE(Shown("ReplaceText"));
    EXPECT_TRUE(Shown("ReplaceAll"));

    // Find Next before any search opens the window on the Find page.
    EXPECT_FALSE(search.Used());
    EditorOf(unit).Select(12, 0);
    Command(CommandId::SearchFindNext);
    EXPECT_EQ(Get<QTabBar>("Pages").currentIndex(), 0);
    EXPECT_EQ(FindText(), "foo");
    EXPECT_EQ(SelectionOf(unit), Selection(12, 0));

    // Several lines go to the multi-line box.
    EditorOf(unit).Select(6, 9);
    Command(CommandId::SearchFind);
    EXPECT_EQ(Get<QPlainTextEdit>("FindLines").toPlainText(), "world\nfoo");
    EXPECT_EQ(Get<QPushButton>("MultiLine").text(), "Single &line");
}

TEST_F(SearchWindowTest, EscHidesTheWindowWhichKeepsItsState) {
    Open("a.txt", "text");
    TVeSearchWin& search = Command(CommandId::SearchFind);
    Check("CaseSensitive", true);
    auto* dock = qobject_cast<QDockWidget*>(search.parentWidget());
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->objectName(), "Find_and_Replace");
    QTest::keyClick(Get<QComboBox>("FindText").lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(dock->isVisible());
    EXPECT_EQ(&Command(CommandId::SearchFind), &search);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(Get<QCheckBox>("CaseSensitive").isChecked());
}

TEST_F(SearchWindowTest, ScopesSetTheCaptionsAndCountOnlyWhenAvailable) {
    const struct {
        const char* Scope;
        const char* Caption;
        bool InEditor;
    } scopes[] = {
        {"SelectedText", "&Find Next", true},
        {"CurrentFile", "&Find Next", true},
        {"ProjectFiles", "&Find All", false},
        {"OpenFiles", "&Find All", false},
    };
    Command(CommandId::SearchReplace);
    EXPECT_TRUE(Get<QRadioButton>("CurrentFile").isChecked());
    for (const auto& each : scopes) {
        Check(each.Scope, true);
        EXPECT_EQ(Get<QPushButton>("FindNext").text(), each.Caption) << each.Scope;
        EXPECT_EQ(Get<QPushButton>("Replace").isEnabled(), each.InEditor) << each.Scope;
        EXPECT_EQ(Get<QCheckBox>("Backward").isEnabled(), each.InEditor) << each.Scope;
    }

    const auto available = [&] {
        SearchWindow().UpdateScopes();
        std::string enabled;
        for (const auto& each : scopes)
            enabled += Get<QRadioButton>(each.Scope).isEnabled() ? '1' : '0';
        return enabled;
    };
    EXPECT_EQ(available(), "0000");
    SetTexts("x");
    Click("FindNext");
    EXPECT_EQ(TakeInfos(), std::vector<std::string>{"No available search scope"});

    TVeUnit& unit = Open("a.txt", "x");
    EXPECT_EQ(available(), "0101");
    EditorOf(unit).Select(0, 1);
    EXPECT_EQ(available(), "1101");
    OpenProject({{"m.ozra", "x"}});
    window->Project().MainUnit()->OpenInEditor();
    EXPECT_EQ(available(), "0111");

    Check("CurrentFile", true);
    SetTexts("");
    Click("FindNext");
    EXPECT_EQ(TakeInfos(), std::vector<std::string>{"No string to find"});
}

TEST_F(SearchWindowTest, FindNextAndPreviousFollowTheOptions) {
    //                      0123456789012345 6789012345
    const std::string text = "x.y axzyb ax.yb\nX.Y abcabc";
    const struct {
        const char* Find;
        bool Regex, WholeWord, CaseSensitive, Backward;
        std::int32_t Caret;
        Selection Found;
    } cases[] = {
        {"x.y", false, true, false, false, 1, {16, 3}},
        {"x.y", false, false, true, false, 1, {11, 3}},
        {"x.y", true, true, false, false, 1, {5, 3}},
        {"x.y", false, false, false, true, 16, {11, 3}},
        {"ABC", false, false, false, true, 26, {23, 3}},
    };
    TVeUnit& unit = Open("a.txt", text);
    Command(CommandId::SearchFind);
    for (const auto& each : cases) {
        SetTexts(each.Find);
        Check("RegularExpression", each.Regex);
        Check("WholeWord", each.WholeWord);
        Check("CaseSensitive", each.CaseSensitive);
        Check("Backward", each.Backward);
        EditorOf(unit).Select(each.Caret, 0);
        Click("FindNext");
        EXPECT_EQ(SelectionOf(unit), each.Found) << each.Find << " from " << each.Caret;
    }
    EXPECT_TRUE(TakeInfos().empty());

    // Find Previous and Find Next repeat the last find and set the
    // direction.
    window->Execute(CommandId::FindPrev);
    EXPECT_EQ(SelectionOf(unit), Selection(20, 3));
    window->Execute(CommandId::SearchFindNext);
    EXPECT_EQ(SelectionOf(unit), Selection(23, 3));
    EXPECT_FALSE(Get<QCheckBox>("Backward").isChecked());
    window->Execute(CommandId::SearchFindNext);
    EXPECT_EQ(TakeInfos(), std::vector<std::string>{"Search string not found"});
    EXPECT_EQ(SelectionOf(unit), Selection(26, 0));
}

TEST_F(SearchWindowTest, MissesAndBadPatternsAreReported) {
    Open("a.txt", "text");
    Command(CommandId::SearchFind);
    for (const char* scope : {"CurrentFile", "OpenFiles"}) {
        Check(scope, true);
        SetTexts("zzz");
        Click("FindNext");
        Click("MarkAll");
        EXPECT_EQ(TakeInfos(), std::vector<std::string>(2, "Search string not found")) << scope;
    }
    Check("RegularExpression", true);
    SetTexts("(");
    Click("FindNext");
    EXPECT_EQ(prompter.Errors, std::vector<std::string>{"Error in regular expression"});
    EXPECT_TRUE(TakeInfos().empty());
}

TEST_F(SearchWindowTest, ReplaceStepsThroughTheFileAndReplaceAllDoesTheRest) {
    TVeUnit& unit = Open("a.txt", "one two one two two");
    Command(CommandId::SearchReplace);
    SetTexts("two", "$1");
    EditorOf(unit).Select(0, 3);
    Click("Replace"); // the selection does not match: only the next is found
    EXPECT_EQ(EditorOf(unit).Text(), "one two one two two");
    EXPECT_EQ(SelectionOf(unit), Selection(4, 3));
    Click("Replace");
    EXPECT_EQ(EditorOf(unit).Text(), "one $1 one two two");
    EXPECT_EQ(SelectionOf(unit), Selection(11, 3));
    Click("ReplaceAll");
    EXPECT_EQ(EditorOf(unit).Text(), "one $1 one $1 $1");
    EXPECT_TRUE(unit.Modified());
    EXPECT_EQ(Get<QComboBox>("ReplaceText").itemText(0), "$1");
    EXPECT_EQ(Get<QComboBox>("FindText").itemText(0), "two");
    EXPECT_TRUE(TakeInfos().empty());
}

TEST_F(SearchWindowTest, ReplaceAllOverTheProjectOpensTheFilesItChanged) {
    OpenProject({{"a.ozra", "old\nold"}, {"b.ozra", "other"}, {"c.ozra", "x old"}});
    Command(CommandId::SearchReplace);
    Check("ProjectFiles", true);
    SetTexts("old", "new");
    Click("ReplaceAll");
    EXPECT_EQ(EditorOf(Unit("p/a.ozra")).Text(), "new\nnew");
    EXPECT_EQ(EditorOf(Unit("p/c.ozra")).Text(), "x new");
    EXPECT_EQ(Unit("p/b.ozra").Editor(), nullptr);
    EXPECT_EQ(files.Read("p/a.ozra"), "old\nold");
    EXPECT_TRUE(TakeInfos().empty());
}

TEST_F(SearchWindowTest, ReplacingIsRefusedWhileARunIsActive) {
    Restart({std::string(OZRA_TEST_DATA_DIR) + "/debug/debug.ozraproj"});
    TVeUnit& main = *window->Project().MainUnit();
    main.OpenInEditor();
    main.ToggleBreakpoint(8);
    window->Execute(CommandId::Run);
    auto& debugger = window->Project().Debugger();
    ASSERT_TRUE(testing::WaitUntil([&] { return debugger.IsPaused(); }));
    Command(CommandId::SearchReplace);
    SetTexts("start", "begin");
    Click("Replace");
    Click("ReplaceAll");
    EXPECT_EQ(TakeInfos(), std::vector<std::string>(2, "Can not replace while running"));
    EXPECT_EQ(EditorOf(main).Text().find("begin"), std::string::npos);
    window->Execute(CommandId::ProjectStop);
    ASSERT_TRUE(testing::WaitUntil([&] { return !window->Project().IsDebugging(); }));
}

TEST_F(SearchWindowTest, MarkAllBookmarksTheLinesOfTheMatches) {
    TVeUnit& unit = Open("a.txt", "a\nb\nab\nc");
    Command(CommandId::SearchFind);
    SetTexts("A");
    Click("MarkAll");
    EXPECT_EQ(unit.Bookmarks().Lines(), (std::vector<std::int32_t>{1, 3}));
    ScriptEditor& editor = EditorOf(unit).Editor();
    const unsigned bookmark = 1u << static_cast<int>(GutterGlyph::Bookmark);
    EXPECT_TRUE(editor.markersAtLine(2) & bookmark);
    EXPECT_FALSE(editor.markersAtLine(1) & bookmark);
}

TEST_F(SearchWindowTest, FindAllListsTheHitsAndChoosingOneSelectsItsMatch) {
    TVeUnit& a = Open("a.txt", "key one\nno\nkey two key");
    TVeUnit& b = Open("b.txt", "b key");
    Command(CommandId::SearchFind);
    Check("OpenFiles", true);
    SetTexts("key");
    Click("FindNext");
    auto* results =
        dynamic_cast<TVeResultWin*>(window->WindowManager().Window(ToolWindowIndex::SearchResult));
    ASSERT_NE(results, nullptr);
    ASSERT_EQ(results->topLevelItemCount(), 2);
    const QTreeWidgetItem& first = *results->topLevelItem(0);
    EXPECT_EQ(first.text(0), "a.txt (3)");
    EXPECT_TRUE(first.isExpanded());
    ASSERT_EQ(first.childCount(), 3);
    EXPECT_EQ(first.child(2)->text(0), "Line 3 : key two key");
    EXPECT_EQ(results->topLevelItem(1)->text(0), "b.txt (1)");

    window->activateWindow();
    results->setFocus();
    ASSERT_TRUE(testing::WaitUntil([&] { return QApplication::focusWidget() == results; }));
    results->setCurrentItem(first.child(2));
    EXPECT_EQ(window->Project().CurrentUnit(), &a);
    EXPECT_EQ(SelectionOf(a), Selection(19, 3));
    EXPECT_EQ(QApplication::focusWidget(), results);
    QTreeWidgetItem& inB = *results->topLevelItem(1)->child(0);
    emit results->itemDoubleClicked(&inB, 0);
    EXPECT_EQ(window->Project().CurrentUnit(), &b);
    EXPECT_EQ(SelectionOf(b), Selection(2, 3));
    EXPECT_EQ(QApplication::focusWidget(), &EditorOf(b).Editor());

    // A find that misses clears the list.
    SetTexts("absent");
    Click("FindNext");
    EXPECT_EQ(results->topLevelItemCount(), 0);
}

TEST_F(SearchWindowTest, MultiLineModeCarriesTheTextsBetweenTheBoxes) {
    TVeUnit& unit = Open("a.txt", "a\nb\na\nb");
    Command(CommandId::SearchReplace);
    SetTexts("first", "second");
    Click("MultiLine");
    EXPECT_TRUE(Shown("FindLines"));
    EXPECT_TRUE(Shown("ReplaceLines"));
    EXPECT_EQ(Get<QPlainTextEdit>("FindLines").toPlainText(), "first");
    EXPECT_EQ(Get<QPlainTextEdit>("ReplaceLines").toPlainText(), "second");
    EXPECT_TRUE(Get<QComboBox>("FindText").lineEdit()->isReadOnly());

    Get<QPlainTextEdit>("FindLines").setPlainText("a\nb");
    Get<QPlainTextEdit>("ReplaceLines").setPlainText("c");
    Click("ReplaceAll");
    EXPECT_EQ(EditorOf(unit).Text(), "c\nc");
    // Picking a history entry copies it into the box.
    Get<QPlainTextEdit>("FindLines").clear();
    QComboBox& finds = Get<QComboBox>("FindText");
    ASSERT_GE(finds.count(), 1);
    finds.setCurrentIndex(0);
    emit finds.activated(0);
    EXPECT_EQ(Get<QPlainTextEdit>("FindLines").toPlainText(), "a\nb");

    Click("MultiLine");
    EXPECT_FALSE(Shown("FindLines"));
    EXPECT_EQ(FindText(), "a\nb");
    EXPECT_EQ(Get<QComboBox>("ReplaceText").currentText(), "c");
}

TEST_F(SearchWindowTest, HistoriesSurviveARestart) {
    TVeUnit& unit = Open("a.txt", "one two");
    Command(CommandId::SearchReplace);
    for (const char* find : {"one", "two", "ONE"}) {
        EditorOf(unit).Select(0, 0);
        SetTexts(find, "x");
        Click("FindNext");
    }
    SetTexts("two", "y");
    Click("ReplaceAll");
    Restart();
    EXPECT_TRUE(files.Exists("home/" + std::string(FindHistoryName)));
    Command(CommandId::SearchFind);
    QComboBox& finds = Get<QComboBox>("FindText");
    QComboBox& replaces = Get<QComboBox>("ReplaceText");
    ASSERT_EQ(finds.count(), 2);
    EXPECT_EQ(finds.itemText(0), "two");
    EXPECT_EQ(finds.itemText(1), "ONE");
    ASSERT_EQ(replaces.count(), 1);
    EXPECT_EQ(replaces.itemText(0), "y");
}

} // namespace
} // namespace ozra::ide::gui
