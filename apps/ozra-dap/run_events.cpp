// Turning pauses and the end of a run into protocol events.
#include "run_events.h"

#include <optional>

namespace ozra::dap {

using debugger::RunMode;

void RunEvents::Commanded(RunMode mode, bool atEntry) {
    if (atEntry)
        reason_ = "entry";
    else if (mode == RunMode::Pause)
        reason_ = "pause";
    else if (mode == RunMode::Run)
        reason_ = "breakpoint";
    else
        reason_ = "step";
}

void RunEvents::Paused(const debugger::TVeRunningData& run) {
    if (const std::optional<std::string> output = debugger_.OutputSoFar()) SendOutput(*output);
    outbox_.Event("stopped",
                  {{"reason", reason_}, {"threadId", ThreadId}, {"allThreadsStopped", true}});
}

void RunEvents::Finished(const debugger::TVeRunningData& run) {
    SendOutput(run.Output);
    ended_ = true;
    outbox_.Event("exited", {{"exitCode", run.Error ? 1 : 0}});
    outbox_.Event("terminated");
}

void RunEvents::SendOutput(const std::string& output) {
    if (output.size() <= outputSent_) return;
    outbox_.Event("output", {{"category", "stdout"}, {"output", output.substr(outputSent_)}});
    outputSent_ = output.size();
}

} // namespace ozra::dap
