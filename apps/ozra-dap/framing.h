// The protocol's framing: every message is a block of header lines, each
// ended by CR LF, an empty line, and a body of exactly as many bytes as the
// "Content-Length" header says. Other headers are allowed and ignored.
//
// The decoder takes the input in whatever pieces it arrives and hands out
// whole bodies. A broken header cannot be skipped, since nothing tells
// where the next message starts, so it raises `FramingError` and the
// session ends; the limits keep a stream of garbage from growing the buffer
// without end.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ozra::dap {

class FramingError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class FrameDecoder {
  public:
    static constexpr std::size_t MaxHeaderBytes = 4096;
    static constexpr std::size_t MaxBodyBytes = std::size_t{64} << 20;

    void Feed(std::string_view bytes) { buffer_.append(bytes); }
    // The next whole body, or none until more bytes arrive; raises
    // `FramingError` for a header it cannot read.
    std::optional<std::string> Next();
    // Bytes of a message that has not arrived whole.
    bool Partial() const noexcept { return start_ < buffer_.size(); }

  private:
    std::size_t ReadHeader(std::string_view header) const;

    std::string buffer_;
    // Where the next unread message starts.
    std::size_t start_ = 0;
    // The length of the body being waited for, once its header is read.
    std::optional<std::size_t> bodyLength_;
};

// A body with its header, ready to write.
std::string EncodeFrame(std::string_view body);

} // namespace ozra::dap
