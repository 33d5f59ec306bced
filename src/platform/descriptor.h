// A file descriptor owned by one scope, and the write loop every writer of
// the layer shares.
#pragma once

#include <string_view>

namespace ozra::platform {

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) noexcept : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();

    int Get() const noexcept { return fd_; }
    bool IsOpen() const noexcept { return fd_ >= 0; }
    int Release() noexcept;
    // Closes the descriptor; 0, or the errno of a failed close.
    int Close() noexcept;

  private:
    int fd_;
};

// Writes every byte, going on after interruptions and short writes; 0, or
// the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes) noexcept;

} // namespace ozra::platform
