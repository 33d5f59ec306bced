// Reads with plain POSIX calls: other processes may keep reading and writing
// the file meanwhile, and the message names the system's reason on failure.
#include "front/text_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "value/errors.h"

namespace ozra::front {

namespace {

[[noreturn]] void FailOpen(const std::string& fileName, int error) {
    throw value::EtsException("Cannot open file \"" + fileName + "\". " + std::strerror(error));
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

} // namespace

std::string TTextFile::ReadFile(const std::string& fileName) {
    FileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) FailOpen(fileName, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) FailOpen(fileName, errno);
    if (S_ISDIR(info.st_mode)) FailOpen(fileName, EISDIR);

    std::string text;
    if (info.st_size > 0) text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            FailOpen(fileName, errno);
        }
        if (count == 0) break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    return text;
}

} // namespace ozra::front
