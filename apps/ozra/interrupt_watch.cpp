// Reading SIGINT from a signal descriptor.
#include "interrupt_watch.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace ozra::app {

InterruptWatch::InterruptWatch() {
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &previousMask_);
    // Without a descriptor Ctrl+C is only ignored; the session still works.
    descriptor_ = signalfd(-1, &interrupt, SFD_NONBLOCK | SFD_CLOEXEC);
}

InterruptWatch::~InterruptWatch() {
    // A press left pending would end the process once unblocked.
    Take();
    if (descriptor_ >= 0) close(descriptor_);
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool InterruptWatch::Take() noexcept {
    if (descriptor_ < 0) return false;
    bool pressed = false;
    signalfd_siginfo info;
    while (read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        pressed = true;
    return pressed;
}

} // namespace ozra::app
