// Reading and writing framed messages.
#include "framing.h"

#include "data/string_helper.h"
#include "value/names.h"

#include <algorithm>
#include <charconv>

namespace ozra::dap {

namespace {

constexpr std::string_view kLengthHeader = "Content-Length";

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string shown;
    for (const char c : text.substr(0, kShown))
        shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    return "\"" + shown + (text.size() > kShown ? "...\"" : "\"");
}

} // namespace

std::optional<std::string> FrameDecoder::Next() {
    if (!bodyLength_) {
        const std::string_view pending = std::string_view(buffer_).substr(start_);
        const std::size_t end = pending.find("\r\n\r\n");
        const std::size_t bareEnd = pending.find("\n\n");
        if (bareEnd < end || pending.starts_with("\n"))
            throw FramingError("header lines must end with CR LF");
        if (pending.starts_with("\r\n"))
            throw FramingError("message header without Content-Length");
        if (end == std::string_view::npos) {
            if (pending.size() > MaxHeaderBytes)
                throw FramingError("message header longer than " + std::to_string(MaxHeaderBytes) +
                                   " bytes");
            return std::nullopt;
        }
        bodyLength_ = ReadHeader(pending.substr(0, end));
        start_ += end + 4;
    }
    if (buffer_.size() - start_ < *bodyLength_) return std::nullopt;
    std::string body = buffer_.substr(start_, *bodyLength_);
    start_ += *bodyLength_;
    bodyLength_.reset();
    if (start_ > buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    return body;
}

std::size_t FrameDecoder::ReadHeader(std::string_view header) const {
    std::optional<std::size_t> length;
    while (true) {
        const std::size_t lineEnd = header.find("\r\n");
        const std::string_view line = header.substr(0, lineEnd);
        if (line.find('\n') != std::string_view::npos || line.find('\r') != std::string_view::npos)
            throw FramingError("header lines must end with CR LF");
        const std::size_t colon = line.find(':');
        const std::string_view name =
            data::TStringHelper::Trim(line.substr(0, std::min(colon, line.size())));
        if (colon == std::string_view::npos || name.empty())
            throw FramingError("malformed header line " + Quoted(line));
        if (value::NamesEqual(name, kLengthHeader)) {
            const std::string_view digits = data::TStringHelper::Trim(line.substr(colon + 1));
            std::size_t value = 0;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), value);
            if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
                throw FramingError("Content-Length is not a number: " + Quoted(digits));
            if (value > MaxBodyBytes)
                throw FramingError("message body longer than " + std::to_string(MaxBodyBytes) +
                                   " bytes");
            if (length && *length != value)
                throw FramingError("two different Content-Length headers");
            length = value;
        }
        if (lineEnd == std::string_view::npos) break;
        header.remove_prefix(lineEnd + 2);
    }
    if (!length) throw FramingError("message header without Content-Length");
    return *length;
}

std::string EncodeFrame(std::string_view body) {
    std::string frame =
        std::string(kLengthHeader) + ": " + std::to_string(body.size()) + "\r\n\r\n";
    frame.append(body);
    return frame;
}

} // namespace ozra::dap
