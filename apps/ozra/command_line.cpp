// The runner's command line.
#include "command_line.h"

#include <filesystem>
#include <string_view>

namespace ozra::app {

const char* const UsageLine = "usage: ozra [options] SCRIPT | --check FILE | --dump-tree FILE\n";

const char* const HelpText =
    "\n"
    "Runs an Ozra template script (or the main file of a .ozraproj project).\n"
    "The run's output text goes to standard output; \"file\" blocks write their\n"
    "targets under the target folder. Errors go to standard error and end the\n"
    "run with exit status 1; a bad command line exits with status 2.\n"
    "\n"
    "Run options (the letter in either case, the value joined to it):\n"
    "  -TFOLDER     target folder for generated files (default: the script's\n"
    "               folder + \"Output/\")\n"
    "  -NNAME       configuration \"Namespace\"\n"
    "  -SNAME       configuration \"SchemaName\"\n"
    "  -Pa=1,b=2;c  configuration pairs\n"
    "  -XFILE       schema file       -DOPTION   schema option\n"
    "  -CFILE       compile the script and the files it uses into FILE (run it\n"
    "               later with \"ozra FILE\") instead of running it\n"
    "  -M, -MA      mode flags (carried, not acted on)\n"
    "  -V           ignored\n"
    "Options may also start with \"/\" (\"/TOut\"), but a word that names an\n"
    "existing file or folder is always a path, never an option; use the \"-\"\n"
    "forms to be sure. Lines of the script's .cfg file (same name, extension\n"
    ".cfg) are read as options first, and a project's \"Configs\" entries become\n"
    "configuration values.\n"
    "\n"
    "Other modes:\n"
    "  --check FILE      compile FILE and the files it uses; print each error as\n"
    "                    FILE:LINE:COLUMN: message and exit 1 if there is one\n"
    "  --dump-tree FILE  print the syntax tree\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n";

namespace {

// The run options are known by their first letter: C D M (and MA) N P S T V X.
bool IsKnownOption(std::string_view word) {
    return word.size() >= 2 && std::string_view("CDMNPSTVXcdmnpstvx").find(word[1]) != std::string_view::npos;
}

bool IsRunOption(std::string_view word) {
    if (word.size() < 2) return false;
    if (word.front() == '-') return true;
    if (word.front() != '/') return false;
    std::error_code ignored;
    return !std::filesystem::exists(std::filesystem::path(word), ignored);
}

Invocation Bad(std::string problem) {
    Invocation invocation;
    invocation.Problem = std::move(problem);
    return invocation;
}

}  // namespace

Invocation ReadCommandLine(int argc, char** argv) {
    Invocation invocation;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--help") return Invocation{Mode::Help, {}, {}, {}};
        if (word == "--version") return Invocation{Mode::Version, {}, {}, {}};
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--check" || word == "--dump-tree") {
            if (i + 1 >= argc) return Bad(std::string(word) + " needs a file");
            if (argc != 3) return Bad(std::string(word) + " takes exactly one file");
            return Invocation{word == "--check" ? Mode::Check : Mode::DumpTree, argv[i + 1], {}, {}};
        }
        if ((word.size() > 2 && word.substr(0, 2) == "--") ||
            (word.size() >= 2 && word.front() == '-' && !IsKnownOption(word)))
            return Bad("unknown option " + std::string(word));
        invocation.Words.emplace_back(word);
        if (invocation.Script.empty() && !IsRunOption(word) && word != "-" && word != "/")
            invocation.Script = std::string(word);
    }
    if (invocation.Script.empty()) return Bad("no script given");
    invocation.What = Mode::Run;
    return invocation;
}

}  // namespace ozra::app
