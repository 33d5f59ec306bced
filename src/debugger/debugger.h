// `TVeDebugger`: the controller the environment, the console debugger and
// the protocol server drive. It holds the program of the next run, starts
// runs and passes commands to the running one (debug_runner.h), answers
// inspection of a paused run, and compiles units with debug data, for runs
// on the caller's thread and for syntax checks in the background.
//
// Every operation is called on the owner's main thread, and every
// notification comes back there through `MainThread`: events 6 and 7 for
// runs, the completion callback for checks. A notification is dropped when
// what it is about is gone: the run was discarded (a new program, a new
// run, the debugger destroyed) or the check was cancelled (its file
// closed), so a late callback never reaches its owner.
#pragma once

#include "debugger/debug_compiler.h"
#include "debugger/debug_program.h"
#include "debugger/debug_runner.h"
#include "debugger/inspection.h"
#include "debugger/main_thread.h"
#include "debugger/running_data.h"
#include "debugger/worker_thread.h"

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::debugger {

// Reads a run's options into its global data and assembles the run's host
// over it (runtime/run_host.h); called as a run starts.
using HostFactory = std::function<value::Ref<runtime::TtsHost>(runtime::TGlobalData& global)>;

// A syntax check in flight. Destroying or cancelling it (on the main
// thread) drops its completion callback if it has not run yet.
class BackgroundCheck {
  public:
    BackgroundCheck() = default;
    explicit BackgroundCheck(std::shared_ptr<std::atomic<bool>> cancelled)
        : cancelled_(std::move(cancelled)) {}
    BackgroundCheck(BackgroundCheck&&) noexcept = default;
    BackgroundCheck& operator=(BackgroundCheck&& other) noexcept;
    ~BackgroundCheck() { Cancel(); }

    void Cancel() noexcept {
        if (cancelled_) cancelled_->store(true);
    }

  private:
    std::shared_ptr<std::atomic<bool>> cancelled_;
};

class TVeDebugger {
  public:
    using CheckDone = std::function<void(std::shared_ptr<TVeDebugData> data)>;

    TVeDebugger(MainThread& mainThread, DebugEventSink& events)
        : mainThread_(mainThread), events_(events) {}
    TVeDebugger(const TVeDebugger&) = delete;
    TVeDebugger& operator=(const TVeDebugger&) = delete;
    // Stops a run and waits for it and for the checks still parsing.
    ~TVeDebugger();

    // The program of the next run and how its host is made. A finished run
    // is discarded; a running one is not affected.
    void SetProgram(DebugProgram program, HostFactory makeHost);
    const DebugProgram& Program() const noexcept { return program_; }

    // Starts a run of the program with the command, or gives the command
    // to the running one. A first command other than Run pauses at the
    // first statement; Stop without a run does nothing, and so does any
    // command between a run's end and its finished event. Errors assembling
    // the host are raised here, before anything runs.
    void Run(RunMode mode);
    // A run exists and has not finished.
    bool IsRunning() const;
    bool IsPaused() const;
    // The current or last run's state; none before the first run.
    std::optional<TVeRunningData> RunningData() const;

    // "?" in the command window: "Not running" without a run, "Not paused"
    // while it runs, otherwise the answer of `InspectName`.
    std::string Inspect(std::string_view text);
    // While paused: the variables the paused statement sees.
    std::optional<std::vector<VisibleVariable>> Variables();
    // While paused: the run's output so far.
    std::optional<std::string> OutputSoFar();

    // Compiles a unit for a run, on the caller's thread.
    static value::Ref<front::TtsBlock>
    ParseForRunning(std::string_view text, TVeDebugData& data, const front::FileLoader& include,
                    value::Ref<front::TtsBlock> parentBlock = {});
    // Compiles a unit on a thread of its own and hands the data to `done`
    // on the main thread. `include` (which may be empty) is called on that
    // thread.
    [[nodiscard]] BackgroundCheck ParseInBackground(std::string text,
                                                    std::shared_ptr<TVeDebugData> data,
                                                    CheckDone done, front::FileLoader include = {});

  private:
    struct CheckThread {
        std::shared_ptr<std::atomic<bool>> Ended;
        std::unique_ptr<WorkerThread> Thread;
    };

    void ReapChecks();

    MainThread& mainThread_;
    DebugEventSink& events_;
    DebugProgram program_;
    HostFactory makeHost_;
    std::shared_ptr<TVeDebugRunner> runner_;
    std::list<CheckThread> checks_;
};

} // namespace ozra::debugger
