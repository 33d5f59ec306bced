// Waiting on the input and on posted work with poll.
#include "event_loop.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace ozra::dap {

EventLoop::EventLoop(int input) : input_(input), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!wake_.IsOpen()) throw std::system_error(errno, std::generic_category(), "eventfd");
}

void EventLoop::Post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    const std::uint64_t one = 1;
    // The counter cannot overflow with a handful of posts between waits.
    [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
}

std::optional<std::string> EventLoop::Wait() {
    pollfd watched[2] = {{input_, POLLIN, 0}, {wake_.Get(), POLLIN, 0}};
    while (::poll(watched, 2, -1) < 0) {
        if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "poll");
    }
    if (watched[1].revents & POLLIN) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t read = ::read(wake_.Get(), &count, sizeof count);
        RunPosted();
    }
    if (!(watched[0].revents & (POLLIN | POLLHUP | POLLERR))) return std::string();
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(input_, buffer, sizeof buffer);
        if (got > 0) return std::string(buffer, static_cast<std::size_t>(got));
        if (got < 0 && errno == EINTR) continue;
        return std::nullopt;
    }
}

void EventLoop::RunPosted() {
    std::deque<std::function<void()>> ready;
    {
        std::lock_guard lock(mutex_);
        ready.swap(work_);
    }
    for (auto& work : ready)
        work();
}

} // namespace ozra::dap
