// The headless runner: the command-line face of the system. It runs a
// script (or a project's main file) and writes the run's output to standard
// output; "--check" and "--dump-tree" compile only. A packaged program (a
// copy of the runner carrying a compiled project, see
// compiled/program_data.h) runs its own project.
#include "command_line.h"
#include "script_run.h"

#include "compiled/program_data.h"
#include "libs/path_helper.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace ozra::app;
    const auto project = ozra::compiled::EmbeddedProject();
    const Invocation invocation =
        ReadCommandLine(argc, argv, project ? ozra::libs::ProgramFile() : std::string());
    switch (invocation.What) {
    case Mode::Help:
        std::fputs(UsageLine, stdout);
        std::fputs(HelpText, stdout);
        return 0;
    case Mode::Version: std::printf("ozra %s\n", OZRA_VERSION); return 0;
    case Mode::Run: return RunScript(invocation, project);
    case Mode::Check: return CheckScript(invocation);
    case Mode::DumpTree: return DumpScript(invocation);
    case Mode::BadUsage: break;
    }
    std::fprintf(stderr, "ozra: %s\n", invocation.Problem.c_str());
    std::fputs(UsageLine, stderr);
    return 2;
}
