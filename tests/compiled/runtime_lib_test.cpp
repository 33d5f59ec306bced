// The runtime and script-object libraries where a script case cannot show
// them: where a compiled file is looked for (it depends on the positions a
// compiled tree no longer has), how a delay stays responsive, and the two
// method tables. Their behaviour is the script case runtime_library.ozra.
#include "compiled/ozra_script_lib.h"
#include "compiled/project_compiler.h"
#include "compiled/runtime_lib.h"
#include "libs/standard_libraries.h"
#include "runtime/command_parser.h"
#include "runtime/evaluator.h"
#include "runtime/host.h"
#include "runtime/lib_register.h"
#include "runtime/result.h"
#include "runtime/run_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <unistd.h>

namespace ozra::compiled {
namespace {

namespace fs = std::filesystem;

class Folder {
  public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "ozra-runtime-XXXXXX").string();
        Path = std::string(::mkdtemp(pattern.data())) + "/";
    }
    ~Folder() { fs::remove_all(Path); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    void Write(const std::string& name, const std::string& text) const {
        fs::create_directories(fs::path(Path + name).parent_path());
        std::ofstream(Path + name, std::ios::binary) << text;
    }

    std::string Path;
};

// Compiles the main file as a run does and runs it with every library:
// the output, or "error: " and the message that ended the run.
std::string RunProject(const std::string& mainFile, const std::string& templateFolder,
                       runtime::TRunningThreadBase* runner = nullptr) {
    try {
        const CompiledScript script = TvmProjectCompiler::CompileFile(mainFile);
        runtime::TLibRegister libraries;
        libs::AddStandardLibraries(libraries);
        AddRuntimeLibraries(libraries);
        runtime::TGlobalData global(runner);
        global.ScriptFolder = runtime::FolderOf(mainFile);
        global.FileList = &script.FileList;
        runtime::RunParameters parameters;
        parameters.TemplateFolder = templateFolder;
        parameters.TargetFolder = templateFolder;
        const auto host = runtime::AssembleRunHost(global, parameters, libraries);
        runtime::TtsResult context(host.Get());
        global.RootContext = &context;
        runtime::Run(*script.Root, context);
        global.RootContext = nullptr;
        return context.Text;
    } catch (const std::exception& error) {
        return std::string("error: ") + error.what();
    }
}

TEST(RuntimeLibrary, CompileFileLooksBesideTheCallingScriptThenUnderTheTemplates) {
    Folder project;
    project.Write("main.ozra", "<.using('lib/unit.ozra').>"
                               "[.= compileBeside().Execute().] "
                               "[.= System.Runtime.CompileFile('only_template.ozra').Execute().]");
    project.Write("lib/unit.ozra", "<.function compileBeside().>"
                                   "<.result = System.Runtime.CompileFile('beside.ozra').>"
                                   "<.end function.>");
    project.Write("lib/beside.ozra", "beside");
    project.Write("beside.ozra", "wrong one");
    project.Write("templates/only_template.ozra", "template");
    EXPECT_EQ(RunProject(project.Path + "main.ozra", project.Path + "templates/"),
              "beside template");

    project.Write("missing.ozra", "[.= System.Runtime.CompileFile('nowhere.ozra').]");
    const std::string error =
        RunProject(project.Path + "missing.ozra", project.Path + "templates/");
    EXPECT_NE(error.find("\"" + project.Path + "nowhere.ozra\""), std::string::npos) << error;
}

TEST(RuntimeLibrary, CompileStringResolvesAgainstTheCallingScript) {
    Folder project;
    project.Write("part/piece.ozra", "piece");
    project.Write("main.ozra",
                  "<.var open = '<' ~ '.'.><.var close = '.' ~ '>'.>"
                  "[.= System.Runtime.CompileString(open ~ \"using('part/piece.ozra')\" "
                  "~ close).Execute().]");
    EXPECT_EQ(RunProject(project.Path + "main.ozra", project.Path), "piece");
}

class CountingRunner final : public runtime::TRunningThreadBase {
  public:
    void Yield(const front::TtsStatement*) override { ++Yields; }
    bool StopRequested() const noexcept override { return false; }

    int Yields = 0;
};

// A responsive delay gives a runner its chance before, after every 100 ms
// and at the end; a plain one only before and after.
TEST(RuntimeLibrary, DelayYieldsToTheRunner) {
    Folder project;
    project.Write("responsive.ozra", "<.System.Runtime.Delay(201, true).>");
    project.Write("plain.ozra", "<.System.Runtime.Delay(201).>");
    CountingRunner responsive;
    EXPECT_EQ(RunProject(project.Path + "responsive.ozra", project.Path, &responsive), "");
    EXPECT_EQ(responsive.Yields, 4);
    CountingRunner plain;
    EXPECT_EQ(RunProject(project.Path + "plain.ozra", project.Path, &plain), "");
    EXPECT_EQ(plain.Yields, 2);
}

using Row = std::tuple<std::string, int, int>;
constexpr int n = runtime::TtsLibBase::Unlimited;

std::vector<Row> Published(const runtime::TtsLibBase& library) {
    std::vector<Row> rows;
    for (const runtime::PublishedMethod& method : library.PublishedMethods())
        rows.emplace_back(std::string(method.Name), method.MinArguments, method.MaxArguments);
    return rows;
}

TEST(RuntimeLibrary, MethodTables) {
    auto host = value::MakeRef<runtime::TtsHost>();
    runtime::TGlobalData global;
    EXPECT_EQ(Published(*value::MakeRef<TtsLibRuntime>(*host, global)),
              (std::vector<Row>{{"CompileFile", 1, 1},
                                {"CompileString", 1, 1},
                                {"Config", 0, 0},
                                {"Delay", 1, 2},
                                {"Throw", 1, 1},
                                {"Call", 1, n},
                                {"GetLastError", 0, 0},
                                {"Eval", 1, n},
                                {"Exists", 1, n},
                                {"TryEval", 1, n}}));
    EXPECT_EQ(Published(*value::MakeRef<TObj_Lib_OzraScript>(*host, global)),
              (std::vector<Row>{{"Execute", 0, n},
                                {"Call", 1, n},
                                {"HasFunction", 1, 1},
                                {"Using", 1, 1},
                                {"UsingScope", 1, 1}}));
}

} // namespace
} // namespace ozra::compiled
