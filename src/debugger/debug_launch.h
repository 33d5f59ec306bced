// Preparing a debugged run of a script file, as the console debugger and
// the protocol server do: the script and every unit it uses compiled with
// debug data, and a host made from the run's options as each run starts.
#pragma once

#include "debugger/debug_program.h"
#include "debugger/debugger.h"
#include "runtime/lib_register.h"

#include <functional>
#include <string>
#include <vector>

namespace ozra::debugger {

// How a unit is named in the program, given its full path.
using UnitNamer = std::function<std::string(const std::string& fullPath)>;

// Compiles the script (a full path) through the project compiler, each unit
// into debug data of its own. Syntax errors stay in the units' bookmarks;
// a file that cannot be read raises.
DebugProgram CompileDebugProgram(const std::string& scriptFile, const UnitNamer& unitName);

// Reads the run's options from the script's configuration and `words` (as
// a command line gives them) into each run's global data, and assembles
// its host with `libraries`, which must outlive every run.
HostFactory HostFromOptions(std::string script, std::vector<std::string> words,
                            const runtime::TLibRegister& libraries);

} // namespace ozra::debugger
