// A thread with a stack of a chosen size. Script runs and parses recurse as
// deep as the script nests, and the evaluator's stack budget (`CallGuard`)
// assumes room to spare, which a library's default thread stack may not
// give.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include <pthread.h>

namespace ozra::debugger {

class WorkerThread {
  public:
    static constexpr std::size_t DefaultStackSize = std::size_t{32} << 20;

    // Starts `body` on a new thread; raises std::system_error when the
    // system refuses one.
    explicit WorkerThread(std::function<void()> body, std::size_t stackSize = DefaultStackSize);
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Waits for the body to end.
    ~WorkerThread();

  private:
    static void* Start(void* body) noexcept;

    std::unique_ptr<std::function<void()>> body_;
    pthread_t thread_{};
};

} // namespace ozra::debugger
