// The runner's modes: run a script, check it, or print its syntax tree.
// Each answers the process exit status: 0 success, 1 a compile or run-time
// error (its message on standard error), 2 a script that cannot be read or
// an output file whose folder is missing.
#pragma once

#include "command_line.h"

namespace ozra::app {

int RunScript(const Invocation& invocation);
int CheckScript(const Invocation& invocation);
int DumpScript(const Invocation& invocation);

} // namespace ozra::app
