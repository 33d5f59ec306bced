// The runner's modes: run a script, check it, or print its syntax tree.
// Each answers the process exit status: 0 success, 1 a compile or run-time
// error (its message on standard error), 2 a script that cannot be found.
#pragma once

#include "command_line.h"

#include "runtime/lib_register.h"

#include <string>
#include <string_view>

namespace ozra::app {

int RunScript(const Invocation& invocation);
int CheckScript(const Invocation& invocation);
int DumpScript(const Invocation& invocation);

// Shared by the modes: an error line on standard error; whether the script
// is a file (saying why not on standard error); every standard library.
void ReportError(std::string_view message);
bool ScriptExists(const std::string& script);
runtime::TLibRegister Libraries();

} // namespace ozra::app
