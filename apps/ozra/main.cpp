// The headless runner: the command-line face of the system. It runs a
// script (or a project's main file) and writes the run's output to standard
// output; "--debug" runs it under the console debugger; "--check" and
// "--dump-tree" compile only. A packaged program (a copy of the runner
// carrying a compiled project, see compiled/program_data.h) runs its own
// project.
#include "command_line.h"
#include "console_debugger.h"
#include "output.h"
#include "script_run.h"

#include "compiled/program_data.h"
#include "libs/path_helper.h"

#include <cstdio>
#include <string>

namespace {

int Print(const std::string& text) {
    using namespace ozra::app;
    try {
        WriteOutput(text);
    } catch (const OutputError& error) {
        return OutputFailed(error);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    using namespace ozra::app;
    PrepareStandardStreams();
    const auto project = ozra::compiled::EmbeddedProject();
    const Invocation invocation =
        ReadCommandLine(argc, argv, project ? ozra::libs::ProgramFile() : std::string());
    switch (invocation.What) {
    case Mode::Help:
        return Print(std::string(UsageLine) + HelpText);
    case Mode::Version:
        return Print(std::string("ozra ") + OZRA_VERSION + "\n");
    case Mode::Run:
        return RunScript(invocation, project);
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
