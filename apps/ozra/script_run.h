// The runner's modes: run a script, check it, or print its syntax tree.
// Each answers the process exit status: 0 success, 1 a compile or run-time
// error (its message on standard error), 2 a script that cannot be read or
// an output file whose folder is missing.
#pragma once

#include "command_line.h"

#include <optional>
#include <string>

namespace ozra::app {

// `embeddedProject`: the compiled project a packaged program carries, which
// it runs instead of any script.
int RunScript(const Invocation& invocation,
              const std::optional<std::string>& embeddedProject = std::nullopt);
int CheckScript(const Invocation& invocation);
int DumpScript(const Invocation& invocation);

// Shared by the modes: whether the script is a file (saying why not on
// standard error).
bool ScriptExists(const std::string& script);

} // namespace ozra::app
