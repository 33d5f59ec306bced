// Owning descriptors and the shared write loop.
#include "platform/descriptor.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace ozra::platform {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

Descriptor::~Descriptor() {
    Close();
}

int Descriptor::Release() noexcept {
    return std::exchange(fd_, -1);
}

int Descriptor::Close() noexcept {
    if (fd_ < 0) return 0;
    // Linux frees the descriptor even when close reports an error, so it is
    // never retried.
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

int WriteAll(int fd, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        // A write that takes nothing and reports nothing would loop forever.
        if (written == 0) return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace ozra::platform
