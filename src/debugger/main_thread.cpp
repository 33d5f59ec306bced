// The work queue of programs without an event loop.
#include "debugger/main_thread.h"

namespace ozra::debugger {

void WorkQueue::Post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    posted_.notify_all();
}

int WorkQueue::RunPending() {
    std::deque<std::function<void()>> ready;
    {
        std::lock_guard lock(mutex_);
        ready.swap(work_);
    }
    for (auto& work : ready)
        work();
    return static_cast<int>(ready.size());
}

int WorkQueue::WaitAndRun(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, timeout, [&] { return !work_.empty(); });
    }
    return RunPending();
}

} // namespace ozra::debugger
