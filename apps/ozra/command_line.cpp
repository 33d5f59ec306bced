// The runner's command line.
//
// Words are read left to right. "--help" and "--version" win wherever they
// stand; "--check FILE" and "--dump-tree FILE" stand alone; "--debug" may
// stand anywhere in a run's words. Otherwise a word is a run option or the
// script:
//   - a word starting with "-" is an option;
//   - a word starting with "/" is a path when it names an existing file or
//     folder, or holds another "/" before any "=" («/tmp/a.ozra»); otherwise
//     it is an option in the form that configuration files use («/TOut»,
//     «/PConfigFile=/etc/x.config»);
//   - any other word is the script, and a second one is an error.
// An option letter that takes a value and has none joined to it takes the
// next word as its value («-T out»). Unknown options are errors here (in a
// ".cfg" file they are ignored). Every refusal names the word as typed and,
// where a word could have been meant otherwise, says how it was read.
#include "command_line.h"

#include "runtime/command_parser.h"

#include <filesystem>
#include <string_view>

namespace ozra::app {

const char* const UsageLine =
    "usage: ozra [--debug] [options] SCRIPT | --check FILE | --dump-tree FILE\n";

const char* const HelpText =
    "\n"
    "Runs an Ozra template script (or the main file of a .ozraproj project).\n"
    "The run's output text goes to standard output; \"file\" blocks write their\n"
    "targets under the target folder. Errors go to standard error and end the\n"
    "run with exit status 1; a bad command line exits with status 2.\n"
    "\n"
    "Run options (the letter in either case; the value joined to it or the\n"
    "next word):\n"
    "  -T FOLDER    target folder for generated files (default: the script's\n"
    "               folder + \"Output/\")\n"
    "  -N NAME      configuration \"Namespace\"\n"
    "  -S NAME      configuration \"SchemaName\"\n"
    "  -P a=1,b=2;c configuration pairs\n"
    "  -X FILE      schema file       -D OPTION  schema option\n"
    "  -C FILE      compile the script and the files it uses into FILE (run it\n"
    "               later with \"ozra FILE\") instead of running it\n"
    "  -M, -MA      mode flags (carried, not acted on)\n"
    "  -V           ignored\n"
    "Options may also start with \"/\" (\"/TOut\"), as in .cfg files, unless the\n"
    "word names an existing file or folder or holds a further \"/\" before any\n"
    "\"=\": then it is a path. Lines of the script's .cfg file (same name,\n"
    "extension .cfg) are read as options first, and a project's \"Configs\"\n"
    "entries become configuration values.\n"
    "\n"
    "Other modes:\n"
    "  --debug SCRIPT    run SCRIPT (with the options above) under the console\n"
    "                    debugger, which reads commands from standard input:\n"
    "      break [FILE:]LINE   set a breakpoint     delete [FILE:]LINE  clear it\n"
    "      run                 start the run        continue            go on\n"
    "      next                step over calls      step                step into them\n"
    "      finish              run until the function returns\n"
    "      stop                end the run          quit                leave\n"
    "      print NAME          a variable or dotted name of the paused run\n"
    "      where               the paused place     output              the output so far\n"
    "      help                list the commands\n"
    "                    next and step start a run paused at its first statement;\n"
    "                    Ctrl+C pauses a running script. Each pause prints\n"
    "                    \"paused at FILE:LINE:COLUMN\" and the source line; the\n"
    "                    run's output is printed when it ends.\n"
    "  --check FILE      compile FILE and the files it uses; print each error as\n"
    "                    FILE:LINE:COLUMN: message and exit 1 if there is one\n"
    "  --dump-tree FILE  print the syntax tree\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n";

namespace {

bool IsPathWord(std::string_view word) {
    if (word.front() != '/' || word.size() < 2) return true;
    const std::string_view beforeValue = word.substr(0, word.find('='));
    if (beforeValue.find('/', 1) != std::string_view::npos) return true;
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::path(word), ignored);
}

bool IsOptionWord(std::string_view word) {
    return word.size() >= 2 && (word.front() == '-' || (word.front() == '/' && !IsPathWord(word)));
}

Invocation Bad(std::string problem) {
    Invocation invocation;
    invocation.Problem = std::move(problem);
    return invocation;
}

std::string Quoted(std::string_view word) {
    return "\"" + std::string(word) + "\"";
}

} // namespace

Invocation ReadCommandLine(int argc, char** argv, const std::string& ownScript) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--help") return Invocation{Mode::Help, {}, {}, {}};
        if (word == "--version") return Invocation{Mode::Version, {}, {}, {}};
    }
    Invocation invocation;
    bool debug = false;
    // How the last word that was not taken as the script was read, for a
    // command line that ends without one.
    std::string lastReading;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--check" || word == "--dump-tree") {
            if (i + 1 >= argc) return Bad(std::string(word) + " needs a file");
            if (argc != 3) return Bad(std::string(word) + " takes exactly one file");
            return Invocation{
                word == "--check" ? Mode::Check : Mode::DumpTree, argv[i + 1], {}, {}};
        }
        if (word == "--debug") {
            debug = true;
            continue;
        }
        if (word.starts_with("--")) return Bad("unknown option " + Quoted(word));
        if (!IsOptionWord(word)) {
            if (!invocation.Script.empty()) {
                return Bad("unexpected word " + Quoted(word) + ": the script is already " +
                           Quoted(invocation.Script));
            }
            invocation.Script = std::string(word);
            continue;
        }
        const std::string_view option = word.substr(0, 2);
        switch (runtime::ClassifyOptionWord(word)) {
        case runtime::OptionWord::Unknown:
            return Bad("unknown option " + Quoted(word));
        case runtime::OptionWord::NeedsValue:
            if (i + 1 >= argc) return Bad("option " + Quoted(word) + " needs a value");
            ++i;
            invocation.Words.push_back(std::string(word) + argv[i]);
            lastReading = Quoted(argv[i]) + " was read as the value of " + Quoted(option);
            break;
        case runtime::OptionWord::Complete:
            invocation.Words.emplace_back(word);
            lastReading = Quoted(word) + " was read as the option " + Quoted(option);
            break;
        }
    }
    if (!ownScript.empty()) {
        invocation.Script = ownScript;
    } else if (invocation.Script.empty()) {
        return Bad(lastReading.empty() ? std::string("no script given")
                                       : "no script given (" + lastReading + ")");
    }
    invocation.What = debug ? Mode::Debug : Mode::Run;
    return invocation;
}

} // namespace ozra::app
