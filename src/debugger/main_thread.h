// Where the debugger's notifications run: the main thread of the program
// that drives it.
//
// The debugger never calls its owner from its own threads. A pause, the end
// of a run and the end of a background check are posted as work to the
// owner's main thread, carrying copies of what they report, so the owner
// touches its own state on its own thread only. The environment implements
// `MainThread` over its event loop; programs without one (the console
// debugger, the protocol server, tests) use `WorkQueue` and run the posted
// work when they are ready for it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace ozra::debugger {

class MainThread {
  public:
    virtual ~MainThread() = default;
    // Queues `work` for the main thread and returns at once. Any thread may
    // post.
    virtual void Post(std::function<void()> work) = 0;
};

class WorkQueue final : public MainThread {
  public:
    void Post(std::function<void()> work) override;
    // Runs the work queued so far, in order; answers how much ran.
    int RunPending();
    // Waits up to `timeout` for work, then runs what is queued; answers how
    // much ran.
    int WaitAndRun(std::chrono::milliseconds timeout);

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> work_;
};

} // namespace ozra::debugger
