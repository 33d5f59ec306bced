// The runner's command line as a user types it: which words are options,
// values, the script or mistakes, together with the script's ".cfg" file
// and a project's "Configs". Each row runs the ozra program in a fresh
// folder holding gen.ozra (and the row's extra files), with the row's
// standard input, and compares the exit status, both output streams and
// every file the run wrote or changed.
#include "../support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ozra::app {
namespace {

namespace fs = std::filesystem;

// Prints two run parameters and writes one target file.
constexpr const char* kScript = "ns=[.= System.NameSpace.] schema=[.= System.SchemaName.]\n"
                                "<.file(\"\", true).><.target = \"a.txt\".>A<.end file.>";
constexpr const char* kUsage =
    "usage: ozra [--debug] [OPTION]... SCRIPT | --check FILE... | --dump-tree FILE\n";
// Stands for what "ozra --help" prints.
constexpr const char* kHelp = "%HELP%";

using Files = std::map<std::string, std::string>;

struct CommandLineCase {
    // "%F%" stands for the folder, without a trailing "/"; "%RO%" for a
    // folder no file can be made in.
    std::vector<std::string> Words;
    Files Extra; // files made before the run
    int Status;
    std::string Out;
    std::string Err;
    Files Written = {};
    std::string Input = {};
};

std::string Replaced(std::string text, std::string_view mark, const std::string& by) {
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
        text.replace(at, mark.size(), by);
        at += by.size();
    }
    return text;
}

// A folder that refuses new files, even to the superuser, who may write
// into any folder whose mode forbids it.
std::string ReadOnlyFolder(const fs::path& folder) {
    if (::geteuid() == 0) return "/sys";
    const fs::path readOnly = folder / "ro";
    fs::create_directory(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    return readOnly.string();
}

Files FilesUnder(const fs::path& folder) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[fs::relative(entry.path(), folder).string()] = bytes.str();
    }
    return files;
}

TEST(RunnerCommandLine, WordsAreReadAsTheRulesSay) {
    const std::string unknownQ = "ozra: unknown option \"-Q\"\n" + std::string(kUsage);
    const std::vector<CommandLineCase> cases = {
        {{"gen.ozra"}, {}, 0, "ns= schema=\n", "", {{"Output/a.txt", "A"}}},
        {{"gen.ozra", "-T", "out", "-N", "My.Space", "-S", "Main"},
         {},
         0,
         "ns=My.Space schema=Main\n",
         "",
         {{"out/a.txt", "A"}}},
        {{"-tout", "-nMy.Space", "gen.ozra"},
         {},
         0,
         "ns=My.Space schema=\n",
         "",
         {{"out/a.txt", "A"}}},
        {{"gen.ozra", "/TOut2", "/SMain", "-MA", "-V"},
         {},
         0,
         "ns= schema=Main\n",
         "",
         {{"Out2/a.txt", "A"}}},
        {{"%F%/gen.ozra"}, {}, 0, "ns= schema=\n", "", {{"Output/a.txt", "A"}}},
        // The .cfg file keeps the "/" forms; its unknown letters and
        // one-character lines are ignored; the command line comes after it.
        {{"gen.ozra"},
         {{"gen.cfg", "/NFrom.Cfg\r\n/Tcfg out\n/Qignored\nx\n-SSchema\n"}},
         0,
         "ns=From.Cfg schema=Schema\n",
         "",
         {{"cfg out/a.txt", "A"}}},
        {{"gen.ozra", "-N", "Command"},
         {{"gen.cfg", "/NFrom.Cfg\n"}},
         0,
         "ns=Command schema=\n",
         "",
         {{"Output/a.txt", "A"}}},
        {{"app.ozraproj"},
         {{"app.ozraproj", "<Project><Files><file type=\"main\">gen.ozra</file></Files>"
                           "<Configs><Namespace>Proj</Namespace></Configs></Project>"}},
         0,
         "ns=Proj schema=\n",
         "",
         {{"Output/a.txt", "A"}}},
        // Mistakes: each names the word as typed.
        {{"gen.ozra", "-T"},
         {},
         2,
         "",
         "ozra: option \"-T\" needs a value\n" + std::string(kUsage)},
        {{"gen.ozra", "-Q"}, {}, 2, "", unknownQ},
        {{"gen.ozra", "-Mx"}, {}, 2, "", "ozra: unknown option \"-Mx\"\n" + std::string(kUsage)},
        // Long options, beside the letters.
        {{"gen.ozra", "--target", "out", "--namespace=My.Space", "--schema", "Main"},
         {},
         0,
         "ns=My.Space schema=Main\n",
         "",
         {{"out/a.txt", "A"}}},
        {{"--target=out", "--set", "Namespace=A", "--set=SchemaName=B,Other=C", "gen.ozra"},
         {},
         0,
         "ns=A schema=B\n",
         "",
         {{"out/a.txt", "A"}}},
        // "-o" replaces its file only when the run succeeds.
        {{"gen.ozra", "-o", "o.txt"},
         {},
         0,
         "",
         "",
         {{"o.txt", "ns= schema=\n"}, {"Output/a.txt", "A"}}},
        {{"-oo.txt", "gen.ozra"},
         {},
         0,
         "",
         "",
         {{"o.txt", "ns= schema=\n"}, {"Output/a.txt", "A"}}},
        {{"--output=sub/o.txt", "gen.ozra"},
         {{"sub/o.txt", "old"}},
         0,
         "",
         "",
         {{"sub/o.txt", "ns= schema=\n"}, {"Output/a.txt", "A"}}},
        {{"bad.ozra", "--output", "o.txt"},
         {{"bad.ozra", "before\n<.= nosuch.>"}, {"o.txt", "old"}},
         1,
         "",
         "bad.ozra:2:3: variable nosuch not found.\n"},
        {{"gen.ozra", "-o", "missing/o.txt"},
         {},
         2,
         "",
         "ozra: Cannot create file \"missing/o.txt\". No such file or directory\n"},
        {{"gen.ozra", "-o", "gen.ozra/o.txt"},
         {},
         2,
         "",
         "ozra: Cannot create file \"gen.ozra/o.txt\". Not a directory\n"},
        {{"gen.ozra", "-o", "%RO%/o.txt"},
         {},
         1,
         "",
         "ozra: Cannot create file \"%RO%/o.txt\". Permission denied\n",
         {{"Output/a.txt", "A"}}},
        // "-" reads the script from standard input; "--" ends the options.
        {{"-", "-N", "In"}, {}, 0, "ns=In schema=\n", "", {{"Output/a.txt", "A"}}, kScript},
        {{"-"}, {}, 0, "", "", {}, ""},
        {{"-"}, {}, 1, "", "<stdin>:1:3: variable x not found.\n", {}, "<.= x.>"},
        {{"-N", "x", "--", "-odd.ozra"},
         {{"-odd.ozra", "odd [.= System.NameSpace.]\n"}},
         0,
         "odd x\n",
         ""},
        {{"-h"}, {}, 0, kHelp, ""},
        {{"gen.ozra", "--help"}, {}, 0, kHelp, ""},
        // --check takes several files.
        {{"--check", "gen.ozra", "bad.ozra", "worse.ozra"},
         {{"bad.ozra", "<.= 1 +.>"}, {"worse.ozra", "<.end if.>"}},
         1,
         "",
         "bad.ozra:1:7: Syntax error, unexpected end of code block\nworse.ozra:1:3: if not "
         "found.\n"},
        {{"--check", "gen.ozra", "nothere.ozra"},
         {},
         2,
         "",
         "ozra: cannot open script \"nothere.ozra\": no such file\n"},
        {{"--check", "-"}, {}, 1, "", "<stdin>:1:3: if not found.\n", {}, "<.end if.>"},
        {{"--check", "-T", "x", "gen.ozra"},
         {},
         2,
         "",
         "ozra: --check takes only files, not \"-T\"\n" + std::string(kUsage)},
        {{"--check"}, {}, 2, "", "ozra: --check needs a file\n" + std::string(kUsage)},
        {{"--dump-tree", "a", "b"},
         {},
         2,
         "",
         "ozra: --dump-tree takes exactly one file\n" + std::string(kUsage)},
        // Mistakes with long options.
        {{"gen.ozra", "--frobnicate"},
         {},
         2,
         "",
         "ozra: unknown option \"--frobnicate\"\n" + std::string(kUsage)},
        {{"gen.ozra", "--target"},
         {},
         2,
         "",
         "ozra: option \"--target\" needs a value\n" + std::string(kUsage)},
        {{"gen.ozra", "--output="},
         {},
         2,
         "",
         "ozra: option \"--output\" needs a value\n" + std::string(kUsage)},
        {{"gen.ozra", "-o"},
         {},
         2,
         "",
         "ozra: option \"-o\" needs a value\n" + std::string(kUsage)},
        {{"gen.ozra", "other.ozra"},
         {},
         2,
         "",
         "ozra: unexpected word \"other.ozra\": the script is already \"gen.ozra\"\n" +
             std::string(kUsage)},
        {{"/nope/x.ozra", "gen.ozra"},
         {},
         2,
         "",
         "ozra: unexpected word \"gen.ozra\": the script is already \"/nope/x.ozra\"\n" +
             std::string(kUsage)},
        {{"%F%/missing.ozra"},
         {},
         2,
         "",
         "ozra: cannot open script \"%F%/missing.ozra\": no such file\n"},
        {{"%F%"}, {}, 2, "", "ozra: cannot open script \"%F%\": not a file\n"},
        {{"--debug", "%F%/missing.ozra"},
         {},
         2,
         "",
         "ozra: cannot open script \"%F%/missing.ozra\": no such file\n"},
        {{"--debug", "-T", "out"},
         {},
         2,
         "",
         "ozra: no script given (\"out\" was read as the value of \"-T\")\n" + std::string(kUsage)},
        // The debugger takes a run's options in every form.
        {{"--debug", "--namespace=Dbg", "gen.ozra", "-S", "Main"},
         {},
         0,
         "(debug) run\nrun finished, output:\nns=Dbg schema=Main\n(debug) quit\n",
         "",
         {{"Output/a.txt", "A"}},
         "run\nquit\n"},
        // A compiled script that cannot be read: the error, then its cause.
        {{"broken.ozrabin"},
         {{"broken.ozrabin", "garbage"}},
         1,
         "",
         "ozra: The file [%F%/broken.ozrabin] is damaged!\n  Unsupported file format.\n"},
        {{"--debug", "-"},
         {},
         2,
         "",
         "ozra: --debug reads its commands from standard input, so the script cannot be \"-\"\n" +
             std::string(kUsage)},
        {{"--debug", "gen.ozra", "-o", "o.txt"},
         {},
         2,
         "",
         "ozra: --debug shows the run's output itself; it takes no \"--output\"\n" +
             std::string(kUsage)},
        {{"/nothere.ozra"},
         {},
         2,
         "",
         "ozra: no script given (\"/nothere.ozra\" was read as the option \"/n\")\n" +
             std::string(kUsage)},
        {{"-T", "gen.ozra"},
         {},
         2,
         "",
         "ozra: no script given (\"gen.ozra\" was read as the value of \"-T\")\n" +
             std::string(kUsage)},
        {{}, {}, 2, "", "ozra: no script given\n" + std::string(kUsage)},
    };
    const std::string help =
        testing::RunProgram(OZRA_PROGRAM, {"--help"}, fs::temp_directory_path().string()).Out;
    ASSERT_TRUE(help.starts_with(kUsage));
    for (const CommandLineCase& c : cases) {
        const fs::path folder =
            fs::temp_directory_path() / ("ozra-command-line-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        Files before = c.Extra;
        before["gen.ozra"] = kScript;
        for (const auto& [name, bytes] : before) {
            fs::create_directories((folder / name).parent_path());
            std::ofstream(folder / name, std::ios::binary) << bytes;
        }
        const std::string readOnly = ReadOnlyFolder(folder);
        auto expand = [&](const std::string& text) {
            return Replaced(Replaced(text, "%F%", folder.string()), "%RO%", readOnly);
        };

        std::vector<std::string> words;
        std::string shown;
        for (const std::string& word : c.Words) {
            words.push_back(expand(word));
            shown += " " + word;
        }
        const testing::ProgramRun run = testing::RunProgram(
            OZRA_PROGRAM, words, folder.string(), testing::StandardOutput::Captured, {}, c.Input);
        SCOPED_TRACE("ozra" + shown);
        EXPECT_EQ(run.Signal, 0);
        EXPECT_EQ(run.ExitStatus, c.Status);
        EXPECT_EQ(run.Out, c.Out == kHelp ? help : c.Out);
        EXPECT_EQ(run.Err, expand(c.Err));
        Files written = FilesUnder(folder);
        for (const auto& [name, bytes] : before) {
            if (written[name] == bytes) written.erase(name);
        }
        EXPECT_EQ(written, c.Written);
        fs::remove_all(folder);
    }
}

} // namespace
} // namespace ozra::app
