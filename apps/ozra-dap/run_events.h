// The debug engine's events as the protocol's: a pause becomes "stopped"
// with its reason, the run's output becomes "output" events, and the end of
// the run becomes "exited" with its exit code and then "terminated".
//
// The engine hands over the output only while the run is paused or once it
// has ended, so output is sent at each pause and at the end: whatever was
// added since the last time.
#pragma once

#include "messages.h"

#include "debugger/debugger.h"

#include <cstddef>
#include <string>

namespace ozra::dap {

class RunEvents final : public debugger::DebugEventSink {
  public:
    // A run has one thread, and this is its number.
    static constexpr int ThreadId = 1;

    // `debugger` is only used once events arrive, so it may be constructed
    // after this.
    RunEvents(Outbox& outbox, debugger::TVeDebugger& debugger)
        : outbox_(outbox), debugger_(debugger) {}

    // The command the run was last given, which names the reason of the
    // next pause; `atEntry` for the first command of a run that stops on
    // entry.
    void Commanded(debugger::RunMode mode, bool atEntry = false);
    bool RunEnded() const noexcept { return ended_; }

    // DebugEventSink
    void Paused(const debugger::TVeRunningData& run) override;
    void Finished(const debugger::TVeRunningData& run) override;

  private:
    void SendOutput(const std::string& output);

    Outbox& outbox_;
    debugger::TVeDebugger& debugger_;
    std::string reason_ = "breakpoint";
    std::size_t outputSent_ = 0;
    bool ended_ = false;
};

} // namespace ozra::dap
