// The run environment: positioned run errors, setting lists, and the
// options of a run from the command line, ".cfg" files and project files.
#include "runtime/command_parser.h"
#include "runtime/global_data.h"
#include "runtime/result.h"
#include "runtime/run_error.h"
#include "runtime/setting_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace ozra::runtime {

using namespace value;
namespace {

namespace fs = std::filesystem;

TEST(RunErrors, DisplayedMessagesCarryThePositionWhenThereIsOne) {
    const struct {
        const char* file;
        int line;
        int column;
        const char* expected;
    } cases[] = {
        {"/p/a.ozra", 3, 5, "boom @ /p/a.ozra 3:5"},
        {"", 3, 5, "boom @ script 3:5"},
        {"/p/a.ozra", 0, 5, "boom"},
        {"", -1, -1, "boom"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(EvmErrorException("boom", c.file, 0, c.line, c.column).what(), c.expected);
    }
}

TEST(RunErrors, EscapingErrorsArePlacedAtTheCurrentStatement) {
    TtsResult context;
    front::TtsText statement(nullptr);
    statement.Line = 4;
    statement.Column = 2;
    statement.FileIndex = 1;
    context.CurrentNode = &statement;
    const std::vector<std::string> files = {"/p/main.ozra", "/p/lib.ozra"};
    try {
        RaiseRunError(EtsRuntime("variable x not found."), context, &files);
    } catch (const EvmErrorException& error) {
        EXPECT_STREQ(error.what(), "Runtime error : variable x not found. @ /p/lib.ozra 4:2");
        EXPECT_EQ(error.BareMessage, "Runtime error : variable x not found.");
    }
    EXPECT_THROW(RaiseRunError(EvmUserCanceled(), context, &files), EvmUserCanceled);
    statement.FileIndex = 9;
    try {
        RaiseRunError(EtsRuntime("x"), context, &files);
    } catch (const EvmErrorException& error) {
        EXPECT_STREQ(error.what(), "Runtime error : x @ script 4:2");
    }
}

TEST(SettingList, EntriesReadAndWriteAsDelimitedText) {
    auto list = MakeRef<TSettingList>();
    list->SetValue("A", "1");
    list->SetValue("b", "x;y");
    list->SetValue("a", "2");
    list->Add("plain");
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Value("A"), "2");
    EXPECT_EQ(list->Value("missing"), "");
    EXPECT_EQ(list->DelimitedText(), "a=2;\"b=x;y\";plain"); // the last spelling wins

    auto copy = MakeRef<TSettingList>();
    copy->SetDelimitedText(list->DelimitedText());
    EXPECT_EQ(copy->DelimitedText(), list->DelimitedText());
    EXPECT_EQ(copy->Value("B"), "x;y");
    EXPECT_EQ(copy->NameAt(2), "plain");
}

class RunOptions : public ::testing::Test {
  protected:
    RunOptions() {
        folder = fs::temp_directory_path() / ("ozra_run_options_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        script = (folder / "gen.ozra").string();
        std::ofstream(script) << "x";
    }
    ~RunOptions() override { fs::remove_all(folder); }

    RunParameters Read(const std::string& file, const std::vector<std::string>& words) {
        TCommandParser parser(global);
        return parser.ReadParameters(file, words);
    }
    std::string Config(const char* name) const { return global.Configuration().Value(name); }

    fs::path folder;
    std::string script;
    TGlobalData global;
};

TEST_F(RunOptions, OptionWordsSetParametersAndConfiguration) {
    const RunParameters p =
        Read(script, {script, "/Tc:/out", "-nMy.Space", "/PA=1;B=2,C=3", "/SMain", "/Xs.xml",
                      "/Dopt", "/MA", "/V", "/Q", "/", "-Cbuild/out.bin"});
    EXPECT_EQ(p.TargetFolder, "c:/out/");
    EXPECT_EQ(p.NameSpace, "My.Space");
    EXPECT_EQ(Config("A") + Config("B") + Config("C"), "123");
    EXPECT_EQ(p.SchemaName, "Main");
    EXPECT_EQ(p.SchemaFile, "s.xml");
    EXPECT_EQ(p.SchemaOption, "opt");
    EXPECT_TRUE(p.ModeFlag && p.ModeAllFlag);
    EXPECT_TRUE(p.CompileFlag);
    EXPECT_EQ(p.CompileOutputFile, (fs::current_path() / "build/out.bin").string());
    EXPECT_EQ(p.ScriptFile, script);
    EXPECT_EQ(p.TemplateFolder, folder.string() + "/");
    EXPECT_EQ(Config("ExecFile"), script);
}

TEST_F(RunOptions, WithoutTargetTheScriptFolderOutputIsUsed) {
    EXPECT_EQ(Read(script, {"/M"}).TargetFolder, folder.string() + "/Output/");
}

TEST_F(RunOptions, AnEmptyTargetOptionIsIgnored) {
    EXPECT_EQ(Read(script, {"/T"}).TargetFolder, folder.string() + "/Output/");
}

TEST_F(RunOptions, WordsThatAreNotOptionsDoNotReplaceTheScript) {
    const RunParameters p = Read(script, {folder.string(), "-T" + folder.string()});
    EXPECT_EQ(p.TargetFolder, folder.string() + "/");
    EXPECT_EQ(p.ScriptFile, script);
}

TEST_F(RunOptions, ConfigFileLinesAreOptions) {
    std::ofstream(folder / "gen.cfg") << "/NMy.Space\r\n\r\n/Tgenerated\n-SSchema\n";
    const RunParameters p = Read(script, {"-Nfrom.command.line"});
    EXPECT_EQ(p.NameSpace, "from.command.line");
    EXPECT_EQ(p.TargetFolder, "generated/");
    EXPECT_EQ(p.SchemaName, "Schema");
}

TEST_F(RunOptions, ProjectsNameTheirMainFileAndConfiguration) {
    fs::create_directories(folder / "src");
    std::ofstream(folder / "src/main.ozra") << "x";
    std::ofstream(folder / "app.ozraproj")
        << "<Project><Files><file type=\"code\">src\\lib.ozra</file>"
           "<file type=\"main\">src\\main.ozra</file></Files>"
           "<Configs><Namespace>Proj.Space</Namespace><Extra>1</Extra></Configs></Project>";
    const RunParameters p = Read((folder / "app.ozraproj").string(), {});
    EXPECT_EQ(p.ScriptFile, (folder / "src/main.ozra").string());
    EXPECT_EQ(p.NameSpace, "Proj.Space");
    EXPECT_EQ(Config("Extra"), "1");
    EXPECT_EQ(p.TargetFolder, (folder / "src/Output/").string());
}

TEST_F(RunOptions, AProjectWithoutMainFileIsAnError) {
    std::ofstream(folder / "bad.ozraproj")
        << "<Project><Files><file type=\"code\">a</file></Files></Project>";
    try {
        Read((folder / "bad.ozraproj").string(), {});
        ADD_FAILURE();
    } catch (const EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "No main file in project.");
    }
}

} // namespace
} // namespace ozra::runtime
