// `TVeDebugRunner`: one debugged run on a worker thread of its own.
//
// The run thread executes the program with a `TtsDebugResult` whose hooks
// are the runner's statement hook (before every statement, between the
// rounds of a loop, as a function's body starts) and function-end hook.
// Threads cannot be suspended safely from outside, so pausing is
// cooperative: the run parks itself inside a hook, waiting on the runner's
// condition variable, and every command wakes it. One mutex guards the
// control state. In run mode the context itself filters the hooks (see
// `TtsDebugResult::FilterHooks`): a statement costs two relaxed atomic
// loads, whether every statement is wanted and the statement's breakpoint
// flag, and the hook runs only when one of them asks for it.
//
// Steps are measured in calls (`CallGuard::Depth`): Step Over pauses at the
// next statement or function end no deeper than where it started, Run Until
// Return at the end of the function it started in (or at the first
// statement after leaving it otherwise, as when an error unwinds it), Trace
// Into at the very next statement. A function's entry is a pause point for
// a breakpoint on its head only; stepping into a call pauses at the first
// statement of the body. Stop ends the run at the next statement with
// "[stopped by user]" in the output: stopping a paused run lets the paused
// statement run first.
//
// While the run is parked, its own thread answers requests (inspection,
// the output so far) and hands back copies, so a caller never reads data
// the script is changing. Events go to the owner's main thread (see
// main_thread.h) and are dropped there once the runner is gone, or, for a
// pause, once the run has moved on.
#pragma once

#include "debugger/debug_program.h"
#include "debugger/main_thread.h"
#include "debugger/running_data.h"
#include "debugger/worker_thread.h"
#include "runtime/global_data.h"
#include "runtime/host.h"
#include "runtime/result.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace ozra::debugger {

// Raised in the run thread to end a stopped run. It is not one of the
// system's errors, so a script's try statement cannot catch it.
class RunStopped : public std::runtime_error {
  public:
    RunStopped() : std::runtime_error("[stopped by user]") {}
};

class TVeDebugRunner final : public runtime::TRunningThreadBase,
                             public std::enable_shared_from_this<TVeDebugRunner> {
  public:
    // The run starts at the first command. `global` is the run's data, its
    // `Runner` still unset; `host` was assembled over it.
    TVeDebugRunner(DebugProgram program, std::unique_ptr<runtime::TGlobalData> global,
                   value::Ref<runtime::TtsHost> host, MainThread& mainThread,
                   DebugEventSink& events);
    // Stops the run if it is still going and waits for its thread.
    ~TVeDebugRunner() override;

    void Command(RunMode mode);
    bool Started() const;
    bool Finished() const;
    bool Paused() const;
    // The owner has received the run's end (main thread only).
    bool FinishAnnounced() const noexcept { return finishAnnounced_; }
    // A copy of the run's state; the output only once it has finished.
    TVeRunningData RunningData() const;
    // Runs `request` on the run thread while the run is parked there, and
    // answers whether it ran. The request gets the context the run is
    // parked in (a file block's, say).
    bool WhilePaused(const std::function<void(runtime::TtsDebugResult& context)>& request);
    // The output of the run so far; for requests only.
    const std::string& RootText() const noexcept { return context_.Text; }

    // TRunningThreadBase
    void Yield(const front::TtsStatement* statement) override;
    bool StopRequested() const noexcept override;

  private:
    // A request for the parked run thread.
    struct Request {
        const std::function<void(runtime::TtsDebugResult&)>* Work;
        bool Done = false;
    };

    void ThreadMain();
    void Execute();
    void AppendErrorLine(const std::string& message);

    [[gnu::always_inline]] void EnterHook(runtime::TtsDebugResult& context) {
        auto* statement = front::NodeCast<front::TtsStatement>(context.CurrentNode);
        if (!statement || !statement->Debug) return;
        const TVeDebugNode& node = *TVeDebugNode::Of(*statement);
        if (mode_.load(std::memory_order_relaxed) == RunMode::Run &&
            !node.Breakpoint.load(std::memory_order_relaxed))
            return;
        StatementReached(context, *statement, node);
    }
    void LeaveHook(runtime::TtsDebugResult& context);
    void StatementReached(runtime::TtsDebugResult& context, const front::TtsStatement& statement,
                          const TVeDebugNode& node);
    // Parks the run thread at the place until a command resumes it,
    // answering requests meanwhile.
    void Park(std::unique_lock<std::mutex>& lock, runtime::TtsDebugResult& context,
              const TVeDebugNode& node, bool atEnd);
    void SetMode(RunMode mode) {
        mode_.store(mode, std::memory_order_relaxed);
        hookEverywhere_.store(mode != RunMode::Run, std::memory_order_relaxed);
    }
    RunPlace PlaceOf(const TVeDebugNode& node, bool atEnd) const;
    std::vector<RunPlace> CallerPlaces() const;
    std::optional<RunPlace> CurrentPlace() const;
    void PostPaused(std::uint64_t serial, TVeRunningData data);
    void PostFinished(TVeRunningData data);

    DebugProgram program_;
    std::unique_ptr<runtime::TGlobalData> global_;
    value::Ref<runtime::TtsHost> host_;
    runtime::TtsDebugResult context_;
    MainThread& mainThread_;
    DebugEventSink& events_;

    // The mode is read without the lock on the fast path; it is written
    // under the lock. Outside run mode the context calls the hooks at every
    // statement, in run mode only at breakpoints.
    std::atomic<RunMode> mode_{RunMode::Pause};
    std::atomic<bool> hookEverywhere_{true};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool started_ = false;
    bool finished_ = false;
    bool parked_ = false;
    bool resume_ = false;
    bool error_ = false;
    // Call depth where the current step began, and where the run is parked.
    int stepDepth_ = 0;
    int parkDepth_ = 0;
    std::uint64_t pauseSerial_ = 0;
    std::optional<RunPlace> place_;
    std::vector<RunPlace> callerPlaces_;
    // The run thread's list of the running calls' callers.
    std::vector<front::TtsNode*> callers_;
    std::deque<Request*> requests_;
    std::chrono::steady_clock::time_point startTime_;
    std::int64_t runTimeMs_ = 0;
    std::string finalOutput_;
    std::atomic<std::thread::id> runThreadId_;
    // Set on the run thread while it answers a request: hooks then do
    // nothing, so script code that an inspection calls runs through.
    bool answering_ = false;
    // Set by the finished event as it reaches the owner, on the main thread.
    bool finishAnnounced_ = false;
    std::unique_ptr<WorkerThread> thread_;
};

} // namespace ozra::debugger
