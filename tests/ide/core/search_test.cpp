// Find, replace and mark in an editor and across units, and the histories.
#include "ide_fixture.h"

#include "ide/core/search.h"
#include "ide/core/search_history.h"

namespace ozra::ide::testing {
namespace {

TVeSearchRecord Search(std::string find, SearchAction action = SearchAction::Find,
                       SearchScope scope = SearchScope::CurrentFile) {
    TVeSearchRecord search;
    search.FindText = std::move(find);
    search.Action = action;
    search.Scope = scope;
    return search;
}

class SearchTest : public ProjectTest {
  protected:
    // An open unit holding `text`, current.
    TVeUnit& Open(const std::string& name, const std::string& text) {
        Folder.Write(name, text);
        TVeUnit* unit = Project.OpenFile(Folder.Path + name, false, UnitType::Other);
        unit->OpenInEditor();
        return *unit;
    }
    // The offsets of the unit's results.
    static std::vector<std::int32_t> Offsets(const TVeUnit& unit) {
        std::vector<std::int32_t> offsets;
        for (const debugger::TVeBookmark& result : unit.SearchResults)
            offsets.push_back(result.Offset);
        return offsets;
    }
};

TEST_F(SearchTest, PlainTextIsLiteralAndRegexIsAPattern) {
    TVeUnit& unit = Open("a.txt", "x.y axyb ax.yb\nX.Y");
    const struct {
        bool Regex, WholeWord, CaseSensitive;
        std::vector<std::int32_t> Offsets;
    } cases[] = {
        {false, true, false, {0, 15}},
        {false, false, false, {0, 10, 15}},
        {false, false, true, {0, 10}},
        {true, true, false, {0, 10, 15}},
    };
    for (const auto& each : cases) {
        TVeSearchRecord search = Search("x.y");
        search.Regex = each.Regex;
        search.WholeWord = each.WholeWord;
        search.CaseSensitive = each.CaseSensitive;
        EXPECT_EQ(FindInFiles(Project, search), static_cast<int>(each.Offsets.size()));
        EXPECT_EQ(Offsets(unit), each.Offsets)
            << each.Regex << each.WholeWord << each.CaseSensitive;
    }
    ASSERT_EQ(unit.SearchResults.size(), 3u);
    EXPECT_EQ(unit.SearchResults[0].Message, "x.y axyb ax.yb");
    EXPECT_EQ(unit.SearchResults[0].Line, 1);
    EXPECT_EQ(unit.SearchResults[0].Column, -1);
    EXPECT_EQ(unit.SearchResults[0].Length, 3);
    EXPECT_TRUE(Saw(ProjectEvent::SearchResults));
    EXPECT_TRUE(Saw(ProjectEvent::SearchCleared));
}

TEST_F(SearchTest, ReplacementsAreLiteralUnlessARegexIsUsed) {
    TVeUnit& unit = Open("a.txt", "abc");
    TVeSearchRecord search = Search("b", SearchAction::Replace);
    search.ReplaceText = "$1";
    EXPECT_EQ(FindInFiles(Project, search), 1);
    EXPECT_EQ(EditorOf(unit).Text(), "a$1c");
    EXPECT_TRUE(unit.Modified());
    search.Regex = true;
    search.FindText = "(\\$)(1)";
    search.ReplaceText = "[$2]";
    EXPECT_EQ(FindInFiles(Project, search), 1);
    EXPECT_EQ(EditorOf(unit).Text(), "a[1]c");
}

TEST_F(SearchTest, FindPreviousWalksBackFromTheCaret) {
    TVeUnit& unit = Open("a.txt", "abcabc\nx");
    MemoryEditor& editor = EditorOf(unit);
    editor.Select(6, 0);
    TVeSearchRecord search = Search("abc");
    search.Backward = true;
    ASSERT_TRUE(FindInUnit(unit, search));
    EXPECT_EQ(std::pair(editor.SelectionStart(), editor.SelectionLength()), std::pair(3, 3));
    ASSERT_TRUE(FindInUnit(unit, search));
    EXPECT_EQ(std::pair(editor.SelectionStart(), editor.SelectionLength()), std::pair(0, 3));
    EXPECT_FALSE(FindInUnit(unit, search));
    EXPECT_EQ(std::pair(editor.SelectionStart(), editor.SelectionLength()), std::pair(3, 0));

    search.Backward = false;
    ASSERT_TRUE(FindInUnit(unit, search));
    EXPECT_EQ(editor.SelectionStart(), 3);
    EXPECT_FALSE(FindInUnit(unit, search));
}

TEST_F(SearchTest, ReplaceActsOnAMatchingSelectionOnly) {
    TVeUnit& unit = Open("a.txt", "one two one two");
    MemoryEditor& editor = EditorOf(unit);
    TVeSearchRecord search = Search("two", SearchAction::Replace);
    search.ReplaceText = "2";
    editor.Select(0, 3);
    ASSERT_TRUE(FindInUnit(unit, search));
    EXPECT_EQ(editor.Text(), "one two one two");
    EXPECT_EQ(std::pair(editor.SelectionStart(), editor.SelectionLength()), std::pair(4, 3));
    ASSERT_TRUE(FindInUnit(unit, search));
    EXPECT_EQ(editor.Text(), "one 2 one two");
    EXPECT_EQ(std::pair(editor.SelectionStart(), editor.SelectionLength()), std::pair(10, 3));
    EXPECT_FALSE(FindInUnit(unit, search));
    EXPECT_EQ(editor.Text(), "one 2 one 2");
}

TEST_F(SearchTest, MarkAllInASelectionKeepsExistingBookmarks) {
    TVeUnit& unit = Open("a.txt", "a\nb a\nc\na a\na");
    unit.ToggleBookmark(4, false);
    EditorOf(unit).Select(2, 9);
    EXPECT_EQ(FindInFiles(Project, Search("a", SearchAction::Mark, SearchScope::Selection)), 3);
    EXPECT_EQ(unit.Bookmarks().Lines(), (std::vector<std::int32_t>{2, 4}));
    EXPECT_TRUE(Saw(ProjectEvent::BookmarksChanged));
}

TEST_F(SearchTest, ReplaceAllOverTheProjectOpensOnlyTheFilesItChanged) {
    Folder.Write("p/a.ozra", "old");
    Folder.Write("p/b.ozra", "other");
    Folder.Write("p/app.ozraproj", "<Project><Files><file type=\"main\">a.ozra</file>"
                                   "<file type=\"code\">b.ozra</file></Files></Project>");
    ASSERT_TRUE(Project.Open(Folder.Path + "p/app.ozraproj"));
    TVeSearchRecord search = Search("old", SearchAction::Replace, SearchScope::ProjectFiles);
    search.ReplaceText = "new";
    EXPECT_EQ(FindInFiles(Project, search), 1);
    const TVeUnit& a = *Project.FindUnit(Folder.Path + "p/a.ozra");
    ASSERT_NE(a.Editor(), nullptr);
    EXPECT_EQ(EditorOf(a).Text(), "new");
    EXPECT_EQ(Folder.Read("p/a.ozra"), "old");
    EXPECT_EQ(Project.FindUnit(Folder.Path + "p/b.ozra")->Editor(), nullptr);
}

TEST_F(SearchTest, ABadPatternIsReportedAsSuch) {
    Open("a.txt", "text");
    TVeSearchRecord search = Search("(");
    search.Regex = true;
    EXPECT_THROW(FindInFiles(Project, search), SearchPatternError);
    search.Regex = false;
    EXPECT_EQ(FindInFiles(Project, search), 0);
}

TEST(SearchHistoryTest, KeepsTheNewestHundredNewestFirst) {
    SearchHistory history;
    for (int find = 0; find <= 100; ++find)
        history.Use("find " + std::to_string(find));
    ASSERT_EQ(history.Entries().size(), 100u);
    EXPECT_EQ(history.Entries().front(), "find 100");
    EXPECT_EQ(history.Entries().back(), "find 1");
    history.Use("FIND 50");
    EXPECT_EQ(history.Entries().front(), "FIND 50");
    EXPECT_EQ(history.Entries().size(), 100u);
    EXPECT_EQ(std::count(history.Entries().begin(), history.Entries().end(), "find 50"), 0);
}

TEST(SearchHistoryTest, AMultiLineEntryIsNeverWritten) {
    ozra::testing::TempFolder folder;
    SearchHistory history;
    history.Use("one");
    history.Use("two\nlines");
    history.Use("three");
    history.Save(folder.Path + "find.histroy");
    SearchHistory loaded;
    loaded.Load(folder.Path + "find.histroy");
    EXPECT_EQ(loaded.Entries(), (std::vector<std::string>{"three", "one"}));
    loaded.Load(folder.Path + "none.histroy");
    EXPECT_TRUE(loaded.Entries().empty());
}

} // namespace
} // namespace ozra::ide::testing
