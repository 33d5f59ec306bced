// The runner's command line.
//
// Words are read left to right. "--help" (or "-h") and "--version" win
// wherever they stand. "--check FILE..." and "--dump-tree FILE" take only
// files. "--debug" may stand anywhere among a run's words. Otherwise a word
// is an option or the script:
//   - "--" ends the options: the word after it is the script, whatever it
//     looks like;
//   - "-" alone is the script, read from standard input;
//   - a long option («--target DIR», «--target=DIR») is the long name of a
//     run option letter, or "--output";
//   - a word starting with "-" is an option letter, in either case, with
//     its value joined («-Tout») or in the next word («-T out»);
//   - a word starting with "/" is a path when it names an existing file or
//     folder, or holds another "/" before any "=" («/tmp/a.ozra»); otherwise
//     it is an option in the form that configuration files use («/TOut»,
//     «/PConfigFile=/etc/x.config»);
//   - any other word is the script, and a second one is an error.
// Unknown options are errors here (in a ".cfg" file they are ignored).
// Every refusal names the word as typed and, where a word could have been
// meant otherwise, says how it was read.
#include "command_line.h"

#include "runtime/command_parser.h"

#include <filesystem>
#include <string_view>

namespace ozra::app {

const char* const UsageLine =
    "usage: ozra [--debug] [OPTION]... SCRIPT | --check FILE... | --dump-tree FILE\n";

const char* const HelpText =
    "\n"
    "Runs an Ozra template script (or the main file of a .ozraproj project);\n"
    "the SCRIPT \"-\" is read from standard input. The run's output text goes to\n"
    "standard output; \"file\" blocks write their targets under the target\n"
    "folder. Errors go to standard error as FILE:LINE:COLUMN: message and end\n"
    "the run with exit status 1; a bad command line exits with status 2.\n"
    "\n"
    "Options (a value follows as the next word, or joined: -Tout, --target=out):\n"
    "  -T, --target DIR      folder for generated files (default: the script's\n"
    "                        folder + \"Output/\")\n"
    "  -N, --namespace NAME  configuration \"Namespace\"\n"
    "  -S, --schema NAME     configuration \"SchemaName\"\n"
    "  -P, --set NAME=VALUE  configuration values; several may be joined with\n"
    "                        \",\" or \";\", and the option may be repeated\n"
    "  -o, --output FILE     write the output to FILE instead, replacing FILE\n"
    "                        only when the run succeeds\n"
    "  -X FILE               schema file\n"
    "  -D OPTION             schema option\n"
    "  -C FILE               compile the script and the files it uses into FILE\n"
    "                        (run it later with \"ozra FILE\") instead of\n"
    "                        running it\n"
    "  -M, -MA               mode flags (carried, not acted on)\n"
    "  -V                    ignored\n"
    "  --                    end of the options: the next word is the script\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "The letters of the one-letter run options may be given in either case\n"
    "and may start with \"/\" (\"/TOut\"), as in .cfg files, unless the word\n"
    "names an existing file or folder or holds a further \"/\" before any \"=\":\n"
    "then it is a path. Lines of the script's .cfg file (same name, extension\n"
    ".cfg) are read as options first, and a project's \"Configs\" entries\n"
    "become configuration values.\n"
    "\n"
    "Other modes:\n"
    "  --debug SCRIPT        run SCRIPT (with the options above) under the\n"
    "                        console debugger, which reads commands from\n"
    "                        standard input:\n"
    "      break [FILE:]LINE   set a breakpoint     delete [FILE:]LINE  clear it\n"
    "      run                 start the run        continue            go on\n"
    "      next                step over calls      step                step into them\n"
    "      finish              run until the function returns\n"
    "      stop                end the run          quit                leave\n"
    "      print NAME          a variable or dotted name of the paused run\n"
    "      where               the paused place     output              the output so far\n"
    "      help                list the commands\n"
    "                        next and step start a run paused at its first\n"
    "                        statement; Ctrl+C pauses a running script. Each\n"
    "                        pause prints \"paused at FILE:LINE:COLUMN\" and the\n"
    "                        source line; the run's output is printed when it\n"
    "                        ends.\n"
    "  --check FILE...       compile each FILE and the files it uses; print each\n"
    "                        error as FILE:LINE:COLUMN: message, and a warning\n"
    "                        for each call of a function no file defines; exit 1\n"
    "                        if there is an error\n"
    "  --dump-tree FILE      print the syntax tree\n";

namespace {

// The long names of the run option letters.
struct LongOption {
    std::string_view Name;
    char Letter;
};
constexpr LongOption kLongOptions[] = {
    {"--target", 'T'}, {"--namespace", 'N'}, {"--schema", 'S'}, {"--set", 'P'}};

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

Invocation Only(Mode mode) {
    Invocation invocation;
    invocation.What = mode;
    return invocation;
}

Invocation Bad(std::string problem) {
    Invocation invocation;
    invocation.Problem = std::move(problem);
    return invocation;
}

std::string Quoted(std::string_view word) {
    return "\"" + std::string(word) + "\"";
}

// "--check FILE..." and "--dump-tree FILE": every other word is a file.
Invocation ReadCompileOnly(int argc, char** argv, std::string_view mode) {
    Invocation invocation = Only(mode == "--check" ? Mode::Check : Mode::DumpTree);
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == mode) continue;
        if (word == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && word.size() > 1 && word.front() == '-')
            return Bad(std::string(mode) + " takes only files, not " + Quoted(word));
        invocation.Scripts.emplace_back(word);
    }
    if (invocation.Scripts.empty()) return Bad(std::string(mode) + " needs a file");
    if (invocation.What == Mode::DumpTree && invocation.Scripts.size() > 1)
        return Bad("--dump-tree takes exactly one file");
    return invocation;
}

} // namespace

Invocation ReadCommandLine(int argc, char** argv, const std::string& ownScript) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--") break;
        if (word == "--help" || word == "-h") return Only(Mode::Help);
        if (word == "--version") return Only(Mode::Version);
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--") break;
        if (word == "--check" || word == "--dump-tree") return ReadCompileOnly(argc, argv, word);
    }
    Invocation invocation;
    bool debug = false;
    // How the last word that was not taken as the script was read, for a
    // command line that ends without one.
    std::string lastReading;
    bool optionsEnded = false;
    // What is wrong with taking the word as the script, if anything.
    auto takeScript = [&](std::string_view word) {
        if (!invocation.Scripts.empty()) {
            return "unexpected word " + Quoted(word) + ": the script is already " +
                   Quoted(invocation.Script());
        }
        invocation.Scripts.emplace_back(word);
        return std::string();
    };
    // The value of an option: joined to it, or the next word.
    auto valueOf = [&](int& i, std::string_view option, std::string_view joined,
                       std::string& value) {
        if (!joined.empty()) {
            value = std::string(joined);
            return true;
        }
        if (i + 1 >= argc) return false;
        value = argv[++i];
        lastReading = Quoted(value) + " was read as the value of " + Quoted(option);
        return true;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (optionsEnded || word == "-" || !IsOptionWord(word)) {
            if (std::string problem = takeScript(word); !problem.empty())
                return Bad(std::move(problem));
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--debug") {
            debug = true;
            continue;
        }
        if (word.starts_with("--")) {
            const std::size_t equals = word.find('=');
            const std::string_view name = word.substr(0, equals);
            const std::string_view joined =
                equals == std::string_view::npos ? std::string_view() : word.substr(equals + 1);
            std::string value;
            const LongOption* known = nullptr;
            for (const LongOption& option : kLongOptions) {
                if (option.Name == name) known = &option;
            }
            if (!known && name != "--output") return Bad("unknown option " + Quoted(name));
            if (equals != std::string_view::npos && joined.empty())
                return Bad("option " + Quoted(name) + " needs a value");
            if (!valueOf(i, name, joined, value))
                return Bad("option " + Quoted(name) + " needs a value");
            if (known) {
                invocation.Words.push_back(std::string("-") + known->Letter + value);
            } else {
                invocation.OutputFile = value;
            }
            continue;
        }
        if (word.starts_with("-o")) {
            if (!valueOf(i, "-o", word.substr(2), invocation.OutputFile))
                return Bad("option \"-o\" needs a value");
            continue;
        }
        const std::string_view option = word.substr(0, 2);
        switch (runtime::ClassifyOptionWord(word)) {
        case runtime::OptionWord::Unknown:
            return Bad("unknown option " + Quoted(word));
        case runtime::OptionWord::NeedsValue: {
            std::string value;
            if (!valueOf(i, option, {}, value))
                return Bad("option " + Quoted(word) + " needs a value");
            invocation.Words.push_back(std::string(word) + value);
            break;
        }
        case runtime::OptionWord::Complete:
            invocation.Words.emplace_back(word);
            lastReading = Quoted(word) + " was read as the option " + Quoted(option);
            break;
        }
    }
    if (!ownScript.empty()) {
        invocation.Scripts = {ownScript};
    } else if (invocation.Scripts.empty()) {
        return Bad(lastReading.empty() ? std::string("no script given")
                                       : "no script given (" + lastReading + ")");
    }
    if (debug && invocation.Script() == StandardInputName)
        return Bad("--debug reads its commands from standard input, so the script cannot be \"-\"");
    if (debug && !invocation.OutputFile.empty())
        return Bad("--debug shows the run's output itself; it takes no \"--output\"");
    invocation.What = debug ? Mode::Debug : Mode::Run;
    return invocation;
}

} // namespace ozra::app
