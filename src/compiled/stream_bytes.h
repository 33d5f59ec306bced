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

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
    // Reads `bytes`; `readable`, when given, is how many bytes from their
    // start may be loaded (never used) past their end, which lets values
    // near the end be read inline too.
    explicit ByteReader(std::string_view bytes, std::size_t readable = 0) noexcept
        : start_(reinterpret_cast<const unsigned char*>(bytes.data())), at_(start_),
          end_(start_ + bytes.size()), limit_(start_ + std::max(readable, bytes.size())) {}

    // Values of one to five bytes, nearly all of a stream's, are read
    // inline; negative ones take the long way.
    std::int32_t Compact() {
        if (at_ < end_) {
            const unsigned first = *at_;
            if (first - 6u < 249u) {
                ++at_;
                return static_cast<std::int32_t>(first - 5);
            }
            if (first == 0) {
                ++at_;
                return 0;
            }
            if (first - 1u < 4u && first < static_cast<unsigned>(end_ - at_) && limit_ - at_ >= 5) {
                static_assert(std::endian::native == std::endian::little);
                std::uint32_t bits;
                std::memcpy(&bits, at_ + 1, 4);
                at_ += first + 1;
                return static_cast<std::int32_t>(bits & (0xFFFFFFFFu >> (32 - 8 * first)));
            }
        }
        return LongCompact();
    }
    // A field's tag, two compact integers that are nearly always one byte
    // each.
    void Tag(std::int32_t& group, std::int32_t& field) {
        if (end_ - at_ >= 2) {
            const unsigned first = at_[0];
            const unsigned second = at_[1];
            if (first - 6u < 249u && second - 6u < 249u) {
                at_ += 2;
                group = static_cast<std::int32_t>(first - 5);
                field = static_cast<std::int32_t>(second - 5);
                return;
            }
        }
        group = Compact();
        field = Compact();
    }
    std::string_view String();
    StreamValue Value();
    std::string_view Raw(std::size_t count);

    bool AtEnd() const noexcept { return at_ == end_; }
    std::size_t Remaining() const noexcept { return static_cast<std::size_t>(end_ - at_); }
    std::size_t Position() const noexcept { return static_cast<std::size_t>(at_ - start_); }

  private:
    std::uint8_t Byte();
    std::int32_t LongCompact();

    const unsigned char* start_;
    const unsigned char* at_;
    const unsigned char* end_;
    const unsigned char* limit_;
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
