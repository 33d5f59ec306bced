// The console debugger: "ozra --debug SCRIPT [options]".
//
// It compiles the script and the units it uses with debug data, then reads
// commands from standard input, one a line, and answers on standard output.
// Commands are read only while no script code runs: a command that runs
// the script returns to the prompt at the next pause or at the end of the
// run, and Ctrl+C meanwhile pauses the run. A pause prints
// "paused at FILE:LINE:COLUMN" and that source line; the end of a run
// prints the run's output. When standard input is not a terminal, each
// command is echoed after the prompt, so a session piped in reads as a
// transcript.
#pragma once

#include "command_line.h"

namespace ozra::app {

// Answers the exit status: 0 after "quit" or the end of input, 1 when the
// script has syntax errors (printed as "--check" prints them) or its
// options are bad, 2 when it cannot be found.
int DebugScript(const Invocation& invocation);

} // namespace ozra::app
