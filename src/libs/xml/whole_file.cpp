// Whole-file reads and replacing writes on POSIX descriptors.
#include "libs/xml/whole_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace ozra::xml {

namespace {

// Closes a descriptor when the scope ends.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::string CannotOpenMessage(std::string_view path, int error) {
    return "Cannot open file \"" + std::string(path) + "\". " + std::strerror(error);
}

std::string CannotCreateMessage(std::string_view path, int error) {
    return "Cannot create file \"" + std::string(path) + "\". " + std::strerror(error);
}

std::string ReadWholeFile(const std::string& path) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) throw std::runtime_error(CannotOpenMessage(path, errno));
    struct stat info {};
    if (::fstat(file.fd, &info) == 0 && S_ISDIR(info.st_mode))
        throw std::runtime_error(CannotOpenMessage(path, EISDIR));
    std::string bytes;
    if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(file.fd, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(CannotOpenMessage(path, errno));
        }
        if (count == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

void ReplaceWholeFile(const std::string& path, std::string_view bytes) {
    const std::size_t slash = path.rfind('/');
    std::string temporary =
        (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".ozra-XXXXXX";
    Descriptor file{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (file.fd < 0) throw std::runtime_error(CannotCreateMessage(path, errno));
    // The new file keeps the mode of the one it replaces; a new file is
    // readable by all and writable by its owner.
    struct stat old {};
    ::fchmod(file.fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    if (!WriteAll(file.fd, bytes) || ::fsync(file.fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw std::runtime_error(CannotCreateMessage(path, error));
    }
    ::close(file.fd);
    file.fd = -1;
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw std::runtime_error(CannotCreateMessage(path, error));
    }
}

} // namespace ozra::xml
