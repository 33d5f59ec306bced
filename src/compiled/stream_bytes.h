// The byte-level pieces of the compiled tree stream: compact integers, the
// backward compact integer of the trailer, strings and values.
//
// A compact integer holds a signed 32-bit value in one to six bytes:
//
//   0              one byte 0
//   1 to 249       one byte v + 5 (6 to 254)
//   negative       byte 255, then the compact integer -v (except -2147483648)
//   250 and above,  a count byte k (1 to 4), then the k low-order bytes of v,
//   -2147483648    least significant first, k the fewest that hold them all
//
// A reader also accepts a count of 5 and keeps the low 32 bits. The trailer
// uses the backward form, in which the count byte and the last value byte of
// a multi-byte record change places, so that the record ends with its count
// and can be read from its end: 300 is 2, 0x2C, 0x01 forward and 0x01, 0x2C,
// 2 backward. One-byte records are the same both ways.
//
// A string is its compact length and then its bytes. A value is a compact
// type code and then: a compact integer for the integer kinds (code 3), the
// string for text (code 256), one compact 0 or 255 for a boolean (code 11),
// a compact byte (code 17); any other kind is its 16-byte record, laid out
// as the value is held: 2-byte kind, 2-byte ownership word, 4 reserved
// bytes and 8 data bytes, an object reference carrying its object number in
// the first four data bytes. Empty values are never written.
//
// Every read is bounded by its buffer; reading past the end raises
// "Stream read error", like the platform stream it stands for.
#pragma once

#include "value/errors.h"
#include "value/value.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::compiled {

// Every format error of a compiled stream.
class EtsCompiler : public value::EtsException {
  public:
    using EtsException::EtsException;

    // "Stream read error"
    static EtsCompiler ReadError();
};

// The type codes a value is written under.
namespace ValueCode {
inline constexpr std::int32_t Integer = 3;
inline constexpr std::int32_t Object = 10;
inline constexpr std::int32_t Boolean = 11;
inline constexpr std::int32_t Byte = 17;
inline constexpr std::int32_t Text = 256;
} // namespace ValueCode

void AppendCompact(std::string& out, std::int32_t value);
void AppendBackwardCompact(std::string& out, std::int32_t value);
void AppendString(std::string& out, std::string_view text);
// Appends a value that holds no object; `objectNumber` is written in place
// of the object of a reference.
void AppendValue(std::string& out, const value::TtsValue& value, std::int32_t objectNumber = 0);

// A value as read: an object reference carries the number of its object,
// which the caller resolves; every other value is complete.
struct StreamValue {
    value::TtsValue Value;
    bool IsObject = false;
    std::int32_t ObjectNumber = 0;
};

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) noexcept : bytes_(bytes) {}

    // Values of one to five bytes, nearly all of a stream's, are read
    // inline; negative ones take the long way.
    std::int32_t Compact() {
        if (position_ < bytes_.size()) {
            const auto* at = reinterpret_cast<const unsigned char*>(bytes_.data() + position_);
            const unsigned first = at[0];
            if (first >= 6 && first != 255) {
                ++position_;
                return static_cast<std::int32_t>(first - 5);
            }
            if (first <= 4 && position_ + first < bytes_.size()) {
                std::uint32_t bits = 0;
                for (unsigned i = 0; i < first; ++i)
                    bits |= static_cast<std::uint32_t>(at[1 + i]) << (8 * i);
                position_ += first + 1;
                return static_cast<std::int32_t>(bits);
            }
        }
        return LongCompact();
    }
    std::string_view String();
    StreamValue Value();
    std::string_view Raw(std::size_t count);

    bool AtEnd() const noexcept { return position_ == bytes_.size(); }
    std::size_t Remaining() const noexcept { return bytes_.size() - position_; }
    std::size_t Position() const noexcept { return position_; }

  private:
    std::uint8_t Byte();
    std::int32_t LongCompact();

    std::string_view bytes_;
    std::size_t position_ = 0;
};

// The backward compact integer that ends `bytes`, and how many bytes it
// takes. A negative value is not a trailer and raises "Unsupported file
// format.".
struct Trailer {
    std::int32_t Value;
    std::size_t Length;
};
Trailer ReadTrailer(std::string_view bytes);

} // namespace ozra::compiled
