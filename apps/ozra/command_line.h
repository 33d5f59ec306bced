// What the runner was asked to do, read from its command line.
//
// Long options («--help», «--version», «--debug», «--check FILE»,
// «--dump-tree FILE»)
// are the runner's own; every other word is a run option (see
// runtime/command_parser.h) or the one script. The rules are in
// command_line.cpp.
#pragma once

#include <string>
#include <vector>

namespace ozra::app {

enum class Mode { Run, Debug, Check, DumpTree, Help, Version, BadUsage };

struct Invocation {
    Mode What = Mode::BadUsage;
    std::string Script;
    // The option words for the run's option parser, in order, each with its
    // value joined («-Tout» for «-T out»).
    std::vector<std::string> Words;
    // Why the command line is bad.
    std::string Problem;
};

// `ownScript`: a packaged program's own file, which is its script whatever
// script the command line names.
Invocation ReadCommandLine(int argc, char** argv, const std::string& ownScript = {});

extern const char* const UsageLine;
extern const char* const HelpText;

} // namespace ozra::app
