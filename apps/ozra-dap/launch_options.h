// The arguments of a "launch" request: the script, the working folder, the
// run options as words of a command line, and whether to stop at the first
// statement or to run without debugging.
#pragma once

#include "messages.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace ozra::dap {

struct LaunchOptions {
    // As given: relative to the working folder.
    std::string Program;
    // Empty: the server's own.
    std::string WorkingFolder;
    // Such as "/Tout" or "-D", "data.xml", as «ozra» takes them.
    std::vector<std::string> Words;
    bool StopOnEntry = false;
    // Breakpoints are ignored and the run is not stopped on entry.
    bool NoDebug = false;
};

// Raises std::invalid_argument naming the argument that is missing or of
// the wrong type.
LaunchOptions ReadLaunchOptions(const Json& arguments);

} // namespace ozra::dap
