// Write-through output files on POSIX descriptors.
#include "platform/output_file.h"

#include "platform/error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ozra::platform {

namespace {

int OpenFlags(OpenMode mode) noexcept {
    // Every mode writes at the file's end, so a writer that adds to the
    // same file meanwhile is never overwritten.
    const int flags = O_WRONLY | O_APPEND | O_CLOEXEC;
    switch (mode) {
    case OpenMode::Replace:
        return flags | O_CREAT | O_TRUNC;
    case OpenMode::Append:
        return flags | O_CREAT;
    case OpenMode::AppendExisting:
        return flags;
    }
    return flags;
}

bool Exists(const std::string& path) noexcept {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

OutputFile::OutputFile(std::string path, OpenMode mode) : path_(std::move(path)) {
    const bool existed = mode == OpenMode::AppendExisting || Exists(path_);
    file_ = Descriptor(::open(path_.c_str(), OpenFlags(mode), 0666));
    if (!file_.IsOpen())
        throw FileError(existed ? FileAction::Open : FileAction::Create, path_, errno);
}

void OutputFile::Write(std::string_view bytes) {
    if (!file_.IsOpen()) throw FileError(FileAction::Write, path_, EBADF);
    if (bytes.empty()) return;
    const off_t end = ::lseek(file_.Get(), 0, SEEK_END);
    if (const int error = WriteAll(file_.Get(), bytes)) {
        if (end >= 0) {
            while (::ftruncate(file_.Get(), end) != 0 && errno == EINTR) {
            }
        }
        throw FileError(FileAction::Write, path_, error);
    }
}

void OutputFile::Close() {
    if (const int error = file_.Close()) throw FileError(FileAction::Write, path_, error);
}

} // namespace ozra::platform
