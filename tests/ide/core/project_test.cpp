// Projects: the project file, units and their identity, saving and closing
// with the user's answers, and the marks a unit keeps.
#include "ide_fixture.h"

#include "../../support/file_size_limit.h"
#include "ide/core/line_list.h"
#include "ide/core/project_file.h"
#include "libs/xml/xml_document.h"

#include <map>

namespace ozra::ide::testing {
namespace {

std::vector<ProjectFileEntry> EntriesOf(const std::string& text) {
    return ReadFileEntries(xml::ParseXml(text));
}

TEST_F(ProjectTest, LoadsAndRewritesTheProjectFile) {
    ozra::testing::TempFolder elsewhere;
    Folder.Write("p/a.ozra", "a");
    Folder.Write("p/sub/c.ozra", "c");
    elsewhere.Write("lib/b.ozra", "b");
    Folder.Write("p/app.ozraproj",
                 "<Project><Files>"
                 "<file type=\"Main\">a.ozra</file>"
                 "<file type=\"code\">" +
                     elsewhere.Path +
                     "lib/b.ozra</file>"
                     "<file type=\"script\" syntax=\"sql\">sub\\c.ozra</file>"
                     "<file type=\"resource\">gone.txt</file>"
                     "<file type=\"code\">C:\\lib\\b.ozra</file>"
                     "</Files><Configs><Config name=\"run\">/Nns</Config></Configs>"
                     "<Description>Generates the classes.</Description></Project>");
    ASSERT_TRUE(Project.Open(Folder.Path + "p/app.ozraproj"));

    EXPECT_EQ(Prompts.Errors, (std::vector<std::string>{"File not found: gone.txt",
                                                        "File not found: C:\\lib\\b.ozra"}));
    ASSERT_NE(Project.MainUnit(), nullptr);
    EXPECT_EQ(Project.MainUnit()->FileName(), Folder.Path + "p/a.ozra");
    const TVeUnit* c = Project.FindUnit(Folder.Path + "p/sub/c.ozra");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Type(), UnitType::Other);
    EXPECT_EQ(c->Syntax, "sql");
    EXPECT_EQ(Project.FindUnit(elsewhere.Path + "lib/b.ozra")->Type(), UnitType::Code);
    EXPECT_TRUE(Saw(ProjectEvent::FilesChanged));
    EXPECT_EQ(Project.Caption("Weftline Studio"), "Weftline Studio - app.ozraproj");
    EXPECT_FALSE(Project.ProjectUnit()->Modified());

    // Any change of roles rewrites the list: relative inside the folder,
    // full outside, and the "script" entry gone; the rest is kept.
    Project.AddToProject(*Project.FindUnit(Folder.Path + "p/sub/c.ozra"));
    ASSERT_TRUE(Project.ProjectUnit()->Modified());
    Project.SetCurrentUnit(Project.ProjectUnit());
    ASSERT_TRUE(Project.SaveCurrent(false));
    const std::string saved = Folder.Read("p/app.ozraproj");
    std::map<std::string, UnitType> entries;
    for (const ProjectFileEntry& entry : EntriesOf(saved))
        entries[entry.Path] = entry.Type;
    EXPECT_EQ(entries,
              (std::map<std::string, UnitType>{{"a.ozra", UnitType::Main},
                                               {"sub/c.ozra", UnitType::Code},
                                               {elsewhere.Path + "lib/b.ozra", UnitType::Code}}));
    const xml::XmlElement document = xml::ParseXml(saved);
    EXPECT_EQ(document.Locate("/project/description")->Value, "Generates the classes.");
    EXPECT_EQ(document.Locate("/project/configs/config")->Value, "/Nns");
    EXPECT_EQ(document.Children[0].Name, "Files");
}

TEST_F(ProjectTest, AMissingOrMalformedProjectFileRaises) {
    EXPECT_ANY_THROW(Project.Open(Folder.Path + "none.ozraproj"));
    Folder.Write("bad.ozraproj", "<Project><Files>");
    EXPECT_ANY_THROW(Project.Open(Folder.Path + "bad.ozraproj"));
}

TEST_F(ProjectTest, NamesDifferingInCaseAreTwoFiles) {
    Folder.Write("a.ozra", "lower");
    Folder.Write("A.ozra", "upper");
    TVeUnit* lower = Project.OpenFile(Folder.Path + "a.ozra", false, UnitType::Other);
    TVeUnit* upper = Project.OpenFile(Folder.Path + "A.ozra", false, UnitType::Other);
    ASSERT_NE(lower, nullptr);
    ASSERT_NE(upper, nullptr);
    EXPECT_NE(lower, upper);
    EXPECT_EQ(upper->Text(), "upper");
    EXPECT_EQ(Project.OpenFile(Folder.Path + "a.ozra", false, UnitType::Other), lower);
    EXPECT_EQ(Project.OpenFile(Folder.Path + "missing.ozra", false, UnitType::Other), nullptr);
}

TEST_F(ProjectTest, ANewProjectAsksForBothNamesWhenSaved) {
    ASSERT_TRUE(Project.New());
    ASSERT_NE(Project.ProjectUnit(), nullptr);
    ASSERT_NE(Project.MainUnit(), nullptr);
    EXPECT_TRUE(Project.ProjectUnit()->Untitled());
    EXPECT_EQ(Project.MainUnit()->DisplayName(), "main.ozra");
    EditorOf(*Project.MainUnit()).SetText("hello");
    Project.MainUnit()->SetModified(true);

    Prompts.SaveNames = {Folder.Path + "new.ozraproj", Folder.Path + "main.ozra"};
    ASSERT_TRUE(Project.SaveAll());
    ASSERT_EQ(Prompts.Requests.size(), 2u);
    EXPECT_EQ(Prompts.Requests[0].DefaultExtension, "ozraproj");
    EXPECT_EQ(Prompts.Requests[0].Filter, "Ozra Project (*.ozraproj)|*.ozraproj");
    EXPECT_EQ(Prompts.Requests[1].ProposedName, "main.ozra");
    EXPECT_EQ(Prompts.Requests[1].DefaultExtension, "ozra");
    EXPECT_FALSE(Project.ProjectUnit()->Modified());
    EXPECT_EQ(Folder.Read("main.ozra"), "hello");
    const std::vector<ProjectFileEntry> entries = EntriesOf(Folder.Read("new.ozraproj"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Path, "main.ozra");
    EXPECT_EQ(entries[0].Type, UnitType::Main);
}

TEST_F(ProjectTest, ClosingAsksAboutModifiedFilesAndCancelKeepsThem) {
    Folder.Write("a.ozra", "old");
    TVeUnit* unit = Project.OpenFile(Folder.Path + "a.ozra", false, UnitType::Other);
    unit->OpenInEditor();
    EditorOf(*unit).SetText("new");
    unit->SetModified(true);
    EXPECT_EQ(EditorOf(*unit).Caption, "a.ozra *");

    Prompts.Answers = {Answer::Cancel};
    EXPECT_FALSE(Project.CloseUnit(*unit));
    EXPECT_EQ(Prompts.Asked.back(), "Save changes to file a.ozra ?");
    EXPECT_EQ(Project.FindUnit(Folder.Path + "a.ozra"), unit);

    Prompts.Answers = {Answer::No};
    EXPECT_TRUE(Project.Close());
    EXPECT_EQ(Folder.Read("a.ozra"), "old");
    EXPECT_TRUE(Project.Units().empty());
}

TEST_F(ProjectTest, AFailedWriteLeavesTheFileAndTheUnitAsTheyWere) {
    Folder.Write("a.ozra", "old");
    TVeUnit* unit = Project.OpenFile(Folder.Path + "a.ozra", false, UnitType::Other);
    unit->OpenInEditor();
    EditorOf(*unit).SetText(std::string(4096, 'x'));
    unit->SetModified(true);
    {
        const FileSizeLimit full(16);
        EXPECT_ANY_THROW(unit->Save(false));
    }
    EXPECT_EQ(Folder.Read("a.ozra"), "old");
    EXPECT_TRUE(unit->Modified());
}

TEST_F(ProjectTest, AFileChangedOutsideIsReloadedWhenTheUserAgrees) {
    Folder.Write("a.ozra", "one");
    TVeUnit* unit = Project.OpenFile(Folder.Path + "a.ozra", false, UnitType::Other);
    unit->OpenInEditor();
    unit->CheckOutsideChange();
    EXPECT_TRUE(Prompts.Asked.empty());
    std::filesystem::last_write_time(Folder.Path + "a.ozra",
                                     std::filesystem::file_time_type::clock::now() +
                                         std::chrono::seconds(5));
    Folder.Write("a.ozra", "two");
    std::filesystem::last_write_time(Folder.Path + "a.ozra",
                                     std::filesystem::file_time_type::clock::now() +
                                         std::chrono::seconds(9));
    Prompts.Answers = {Answer::Yes};
    unit->CheckOutsideChange();
    ASSERT_EQ(Prompts.Asked.size(), 1u);
    EXPECT_EQ(Prompts.Asked[0], "File " + Folder.Path + "a.ozra's time/date changed. Reload?");
    EXPECT_EQ(EditorOf(*unit).Text(), "two");
    unit->CheckOutsideChange();
    EXPECT_EQ(Prompts.Asked.size(), 1u);
}

TEST(LineListTest, KeysSortAsNumbers) {
    LineList lines;
    lines.Toggle(40);
    lines.Toggle(5);
    lines.Toggle(100);
    EXPECT_EQ(lines.Keys(), (std::vector<std::string>{"        5", "       40", "      100"}));
    EXPECT_FALSE(lines.Toggle(40));
    EXPECT_EQ(lines.Lines(), (std::vector<std::int32_t>{5, 100}));
}

} // namespace
} // namespace ozra::ide::testing
