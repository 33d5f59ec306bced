// The server's one loop: it waits for the client's bytes and for the work
// the debugger posts from its threads (a pause, the end of a run), and runs
// both on the main thread, so the session never needs a lock.
//
// Posted work wakes the loop through an event descriptor, so a pause
// reaches the client at once while the loop waits for input.
#pragma once

#include "debugger/main_thread.h"

#include "platform/descriptor.h"

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace ozra::dap {

class EventLoop final : public debugger::MainThread {
  public:
    // Reads the client's bytes from `input`, which it does not own.
    explicit EventLoop(int input);

    // Any thread.
    void Post(std::function<void()> work) override;

    // Waits for input or posted work, runs the work that is queued, and
    // answers the bytes read: empty when only work ran, none at the end of
    // the input.
    std::optional<std::string> Wait();

  private:
    void RunPosted();

    int input_;
    platform::Descriptor wake_;
    std::mutex mutex_;
    std::deque<std::function<void()>> work_;
};

} // namespace ozra::dap
