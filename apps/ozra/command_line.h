// What the runner was asked to do, read from its command line.
//
// The runner follows the common conventions of command-line programs: long
// options («--target DIR», «--target=DIR»), "-" for standard input, "--"
// to end the options. Every run option keeps its one-letter forms as well
// («-T DIR», «-TDIR», «/TDIR»), and whatever is not the runner's own goes
// to the run's option parser (see runtime/command_parser.h). The rules are
// in command_line.cpp.
#pragma once

#include <string>
#include <vector>

namespace ozra::app {

enum class Mode { Run, Debug, Check, DumpTree, Help, Version, BadUsage };

// The name that stands for a script read from standard input.
inline constexpr const char* StandardInputName = "-";

struct Invocation {
    Mode What = Mode::BadUsage;
    // The script to run or dump; every file to check. "-" is standard input.
    std::vector<std::string> Scripts;
    // The option words for the run's option parser, in order, each with its
    // value joined («-Tout» for «-T out» and «--target out»).
    std::vector<std::string> Words;
    // Where the run's output goes instead of standard output; empty for
    // standard output.
    std::string OutputFile;
    // Why the command line is bad.
    std::string Problem;

    const std::string& Script() const { return Scripts.front(); }
};

// `ownScript`: a packaged program's own file, which is its script whatever
// script the command line names.
Invocation ReadCommandLine(int argc, char** argv, const std::string& ownScript = {});

extern const char* const UsageLine;
extern const char* const HelpText;

} // namespace ozra::app
