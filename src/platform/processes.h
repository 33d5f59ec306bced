// Starting programs and waiting for them.
//
// Programs start with posix_spawn and an argument list, never through a
// shell, in the folder of the file: an executable file runs itself, any
// other file is handed to "xdg-open", as the original platform's shell
// opens a document with its program. A parameter string is split into
// arguments by the Windows command-line rules (blanks separate, double
// quotes group, "" inside quotes is one quote).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ozra::platform {

std::vector<std::string> SplitParameters(std::string_view parameters);
// Starts the file with the parameters and answers the process id; raises
// «Cannot execute file "path". reason» when it cannot be started.
int StartProgram(const std::string& path, std::string_view parameters);
// Waits for a started process and answers its exit code (128 + the signal
// number when a signal ended it).
int WaitForProgram(int processId);
// Lets a started process end on its own; it is reaped in the background.
void DetachProgram(int processId);

} // namespace ozra::platform
