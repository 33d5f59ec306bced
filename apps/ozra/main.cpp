// The headless runner: the command-line face of the system. It runs a
// script (or a project's main file) and writes the run's output to standard
// output; "--debug" runs it under the console debugger; "--check" and
// "--dump-tree" compile only.
#include "command_line.h"
#include "console_debugger.h"
#include "script_run.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace ozra::app;
    const Invocation invocation = ReadCommandLine(argc, argv);
    switch (invocation.What) {
    case Mode::Help:
        std::fputs(UsageLine, stdout);
        std::fputs(HelpText, stdout);
        return 0;
    case Mode::Version:
        std::printf("ozra %s\n", OZRA_VERSION);
        return 0;
    case Mode::Run:
        return RunScript(invocation);
    case Mode::Debug:
        return DebugScript(invocation);
    case Mode::Check:
        return CheckScript(invocation);
    case Mode::DumpTree:
        return DumpScript(invocation);
    case Mode::BadUsage:
        break;
    }
    std::fprintf(stderr, "ozra: %s\n", invocation.Problem.c_str());
    std::fputs(UsageLine, stderr);
    return 2;
}
