// What the debugger tells its owner about a run: the commands it takes, the
// place a run is paused at, and `TVeRunningData`, a copy of the run's state
// made by the run thread itself, so its reader never shares data with a
// running script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ozra::debugger {

class TVeDebugNode;

// The environment's run commands, with the design's numbers.
enum class RunMode : std::uint8_t {
    Run = 1,            // stop only at breakpoints
    StepOver = 2,       // pause at the next statement of the same call
    TraceInto = 3,      // pause at the next statement, entering called functions
    RunUntilReturn = 4, // pause at the end of the current function
    Stop = 5,           // end the run at the next statement
    Pause = 6,          // pause at the next statement
};

// A statement or the end of a control, where a run is or was.
struct RunPlace {
    // Valid while the debugger keeps the run's program.
    const TVeDebugNode* Node = nullptr;
    std::string FileName;
    // The execution line: the statement's, or the closing keyword's when
    // `AtEnd`.
    std::int32_t Line = 0;
    std::int32_t Column = 0;
    bool AtEnd = false;
    // The innermost function around the place; empty at a unit's top level.
    std::string Function;
};

struct TVeRunningData {
    // Where the run is paused, or where it was when it ended (where an
    // error happened); none when no statement with a record ran.
    std::optional<RunPlace> Place;
    // While paused, the statements the running calls were made from,
    // innermost first (a call made from code without records is left out).
    std::vector<RunPlace> Callers;
    bool Finished = false;
    // Set when the run ended with an error that has a position.
    bool Error = false;
    // From the first command to the end of the run.
    std::int64_t RunTimeMs = 0;
    // The run's whole output; filled when it has finished.
    std::string Output;
};

// The owner's side of events 6 (paused) and 7 (finished). Both arrive on
// the owner's main thread (main_thread.h); after `Finished` a run sends
// nothing more.
class DebugEventSink {
  public:
    virtual ~DebugEventSink() = default;
    virtual void Paused(const TVeRunningData& run) = 0;
    virtual void Finished(const TVeRunningData& run) = 0;
};

} // namespace ozra::debugger
