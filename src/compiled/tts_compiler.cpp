// Loading and saving compiled trees, and finding a stream at a file's end.
#include "compiled/tts_compiler.h"

#include "compiled/stream_bytes.h"
#include "compiled/stream_reader.h"
#include "compiled/stream_writer.h"
#include "platform/error.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace ozra::compiled {

namespace {

// The header's magic numbers and version, each a one-byte compact integer.
constexpr char kHeader[] = {84, 127, 119, 102, 6};
// A backward compact integer takes six bytes at most.
constexpr std::size_t kLongestTrailer = 6;

class OpenFile {
  public:
    explicit OpenFile(const std::string& fileName)
        : name_(fileName), fd_(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) Fail();
        struct stat info {};
        if (::fstat(fd_, &info) != 0) Fail();
        if (S_ISDIR(info.st_mode)) Fail(EISDIR);
        size_ = static_cast<std::size_t>(info.st_size);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { ::close(fd_); }

    std::size_t Size() const noexcept { return size_; }

    // `count` bytes from `offset`; a file that shrank meanwhile gives a
    // stream read error.
    std::string Read(std::size_t offset, std::size_t count) const {
        std::string bytes(count, '\0');
        ReadInto(bytes.data(), offset, count);
        return bytes;
    }
    void ReadInto(char* into, std::size_t offset, std::size_t count) const {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got =
                ::pread(fd_, into + done, count - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) Fail();
            if (got == 0) throw EtsCompiler::ReadError();
            done += static_cast<std::size_t>(got);
        }
    }

  private:
    [[noreturn]] void Fail(int error = errno) const {
        throw platform::FileError(platform::FileAction::Open, name_, error);
    }

    std::string name_;
    int fd_;
    std::size_t size_ = 0;
};

// Where the stream that ends the file starts, and its length, read from the
// trailer alone.
struct Extent {
    std::size_t Start;
    std::size_t Length;
};

Extent StreamExtent(const OpenFile& file) {
    const std::size_t tailLength = std::min(file.Size(), kLongestTrailer);
    const Trailer trailer = ReadTrailer(file.Read(file.Size() - tailLength, tailLength));
    const std::size_t trailerStart = file.Size() - trailer.Length;
    if (static_cast<std::size_t>(trailer.Value) > trailerStart)
        throw EtsCompiler("Unsupported file format.");
    const std::size_t start = trailerStart - static_cast<std::size_t>(trailer.Value);
    return Extent{start, file.Size() - start};
}

} // namespace

value::Ref<front::TtsBlock> TtsCompiler::Load(std::string bytes) {
    return ReadTree(bytes);
}

value::Ref<front::TtsBlock> TtsCompiler::LoadFile(const std::string& fileName) {
    // Read straight into storage that is not cleared first: a large
    // stream is read once, not written twice.
    const OpenFile file(fileName);
    const Extent extent = StreamExtent(file);
    const auto bytes = std::make_unique_for_overwrite<char[]>(extent.Length);
    file.ReadInto(bytes.get(), extent.Start, extent.Length);
    return ReadTree(std::span<char>(bytes.get(), extent.Length));
}

std::string TtsCompiler::Save(const front::TtsBlock& root, bool scrambled) {
    return WriteTree(root, scrambled);
}

std::string ReadStreamAtEnd(const std::string& fileName) {
    const OpenFile file(fileName);
    const Extent extent = StreamExtent(file);
    return file.Read(extent.Start, extent.Length);
}

std::optional<std::string> FindStreamAtEnd(const std::string& fileName) {
    const OpenFile file(fileName);
    if (file.Size() < sizeof kHeader + 2) return std::nullopt;
    Extent extent{};
    try {
        extent = StreamExtent(file);
    } catch (const EtsCompiler&) {
        return std::nullopt;
    }
    if (extent.Length < sizeof kHeader ||
        file.Read(extent.Start, sizeof kHeader) != std::string_view(kHeader, sizeof kHeader))
        return std::nullopt;
    return file.Read(extent.Start, extent.Length);
}

} // namespace ozra::compiled
