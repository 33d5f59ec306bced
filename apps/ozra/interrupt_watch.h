// Ctrl+C as a request instead of the end of the process, for the console
// debugger: it pauses a running script.
//
// SIGINT is blocked on the constructing thread, and so in every thread
// started after it (threads inherit the mask), and read from a signal
// descriptor when the owner asks. No handler runs and no state is shared
// with one. Construct it before any other thread starts.
#pragma once

#include <signal.h>

namespace ozra::app {

class InterruptWatch {
  public:
    InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;
    ~InterruptWatch();

    // Whether Ctrl+C was pressed since the last call.
    bool Take() noexcept;

  private:
    int descriptor_ = -1;
    sigset_t previousMask_;
};

} // namespace ozra::app
