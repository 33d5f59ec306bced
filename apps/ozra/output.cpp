// Standard output on its descriptor, without a buffer of its own.
#include "output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace ozra::app {

OutputError::OutputError(int error)
    : std::runtime_error(std::string("cannot write the output: ") + std::strerror(error)),
      error_(error) {}

bool OutputError::ReaderGone() const noexcept {
    return error_ == EPIPE;
}

void PrepareStandardStreams() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = ::open("/dev/null", fd == STDERR_FILENO ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

void WriteOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            throw OutputError(errno);
        }
        if (written == 0) throw OutputError(EIO);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

int OutputFailed(const OutputError& error) {
    if (error.ReaderGone()) return 128 + SIGPIPE;
    std::fprintf(stderr, "ozra: %s\n", error.what());
    return 1;
}

} // namespace ozra::app
