// Whole-file reads, atomic replacement and additions on POSIX calls.
#include "platform/whole_file.h"

#include "platform/descriptor.h"
#include "platform/error.h"
#include "platform/output_file.h"
#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ozra::platform {

namespace {

// The file a path names once symbolic links are followed, so that replacing
// it replaces the linked file and keeps the link. A link that points
// nowhere names the file it would point at.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof target) return current;
        const std::string_view link(target, static_cast<std::size_t>(length));
        current = IsAbsolutePath(link) ? std::string(link)
                                       : std::string(FolderPart(current)).append(link);
    }
    throw FileError(FileAction::Create, path, ELOOP);
}

std::string RandomSuffix() {
    unsigned char bytes[6];
    if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != sizeof bytes) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const auto mix = static_cast<unsigned long>(now.tv_nsec) ^
                         (static_cast<unsigned long>(::getpid()) << 20);
        for (std::size_t i = 0; i < sizeof bytes; ++i)
            bytes[i] = static_cast<unsigned char>(mix >> (8 * i));
    }
    std::string suffix;
    for (unsigned char byte : bytes) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        suffix += hex;
    }
    return suffix;
}

// A new file beside `target`, hidden and named after it. It is created with
// 0666 so that the umask applies as to any new file.
Descriptor CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    // Short enough for any file system's name limit.
    const std::string_view name = NamePart(target).substr(0, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary =
            std::string(FolderPart(target)) + "." + std::string(name) + ".ozra-" + RandomSuffix();
        Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.IsOpen() || errno != EEXIST) return file;
    }
    errno = EEXIST;
    return Descriptor();
}

// Makes a rename in the folder survive a crash; a folder that cannot be
// opened or synced is no reason to fail a write that is complete.
void SyncFolderOf(const std::string& path) {
    const std::string_view folder = FolderOf(path);
    const std::string name = folder.empty() ? std::string(".") : std::string(folder);
    Descriptor directory(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.IsOpen()) ::fsync(directory.Get());
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) throw FileError(FileAction::Open, path, errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) throw FileError(FileAction::Open, path, errno);
    if (S_ISDIR(info.st_mode)) throw FileError(FileAction::Open, path, EISDIR);
    std::string bytes;
    if (info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw FileError(FileAction::Open, path, errno);
        }
        if (count == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return bytes;
}

void ReplaceWholeFile(const std::string& path, std::string_view bytes) {
    const std::string target = FollowLinks(path);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) throw FileError(FileAction::Create, path, EISDIR);

    std::string temporary;
    Descriptor file = CreateTemporaryBeside(target, temporary);
    if (!file.IsOpen()) throw FileError(FileAction::Create, path, errno);
    int error = 0;
    if (replacing && ::fchmod(file.Get(), old.st_mode & 07777) != 0) error = errno;
    if (!error) error = WriteAll(file.Get(), bytes);
    if (!error && ::fsync(file.Get()) != 0) error = errno;
    if (!error) error = file.Close();
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temporary.c_str());
        throw FileError(FileAction::Create, path, error);
    }
    SyncFolderOf(target);
}

void AppendToFile(const std::string& path, std::string_view bytes) {
    OutputFile file(path, OpenMode::Append);
    file.Write(bytes);
    file.Close();
}

} // namespace ozra::platform
