// The runner's command line as a user types it: which words are options,
// values, the script or mistakes, together with the script's ".cfg" file
// and a project's "Configs". Each row runs the ozra program in a fresh
// folder holding gen.ozra (and the row's extra files) and compares the exit
// status, both output streams and every file the run wrote.
#include "../support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace ozra::app {
namespace {

namespace fs = std::filesystem;

// Prints two run parameters and writes one target file.
constexpr const char* kScript = "ns=[.= System.NameSpace.] schema=[.= System.SchemaName.]\n"
                                "<.file(\"\", true).><.target = \"a.txt\".>A<.end file.>";
constexpr const char* kUsage =
    "usage: ozra [--debug] [options] SCRIPT | --check FILE | --dump-tree FILE\n";

using Files = std::map<std::string, std::string>;

struct CommandLineCase {
    std::vector<std::string> Words; // "%F%" stands for the folder, without a trailing "/"
    Files Extra;                    // files made before the run
    int Status;
    std::string Out;
    std::string Err;
    Files Written;
};

std::string WithFolder(std::string text, const std::string& folder) {
    for (std::size_t at = text.find("%F%"); at != std::string::npos; at = text.find("%F%", at))
        text.replace(at, 3, folder);
    return text;
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
        {{"gen.ozra", "--target", "out"},
         {},
         2,
         "",
         "ozra: unknown option \"--target\"\n" + std::string(kUsage)},
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
    for (const CommandLineCase& c : cases) {
        const fs::path folder =
            fs::temp_directory_path() / ("ozra-command-line-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        Files before = c.Extra;
        before["gen.ozra"] = kScript;
        for (const auto& [name, bytes] : before)
            std::ofstream(folder / name, std::ios::binary) << bytes;

        std::vector<std::string> words;
        std::string shown;
        for (const std::string& word : c.Words) {
            words.push_back(WithFolder(word, folder.string()));
            shown += " " + word;
        }
        const testing::ProgramRun run = testing::RunProgram(OZRA_PROGRAM, words, folder.string());
        SCOPED_TRACE("ozra" + shown);
        EXPECT_EQ(run.Signal, 0);
        EXPECT_EQ(run.ExitStatus, c.Status);
        EXPECT_EQ(run.Out, c.Out);
        EXPECT_EQ(run.Err, WithFolder(c.Err, folder.string()));
        Files written = FilesUnder(folder);
        for (const auto& [name, bytes] : before)
            written.erase(name);
        EXPECT_EQ(written, c.Written);
        fs::remove_all(folder);
    }
}

} // namespace
} // namespace ozra::app
