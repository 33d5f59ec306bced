// The Base64 and Base32 codecs of the string helper.
//
// Both decoders follow the stored format's own rules rather than a strict
// reading: the output length is fixed by the text's length less its padding
// characters, wherever they stand, and foreign characters decode to the
// highest digit instead of failing. Texts written by the encoders always
// round-trip.
#include "data/string_helper.h"

#include "data/data_error.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace ozra::data {

namespace {

constexpr std::string_view Base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view Base32Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ135679";
constexpr char Base32Pad = '0';

// Digit values by character; `foreign` for characters outside the alphabet.
constexpr std::array<std::uint8_t, 256> DigitTable(std::string_view alphabet,
                                                   std::uint8_t foreign) {
    std::array<std::uint8_t, 256> table{};
    table.fill(foreign);
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
    return table;
}

constexpr auto Base64Digits = [] {
    auto table = DigitTable(Base64Alphabet, 63);
    table['='] = 0;
    return table;
}();
constexpr auto Base32Digits = DigitTable(Base32Alphabet, 31);

std::size_t OutputLength(std::size_t groups, std::size_t bytesPerGroup, std::string_view text,
                         char pad) {
    const std::size_t full = groups * bytesPerGroup;
    const auto pads = static_cast<std::size_t>(std::count(text.begin(), text.end(), pad));
    return pads >= full ? 0 : full - pads;
}

} // namespace

std::string TStringHelper::Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const auto byte = i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u;
            group = group << 8 | byte;
        }
        for (std::size_t i = 0; i < 4; ++i)
            out += i <= count ? Base64Alphabet[group >> (18 - 6 * i) & 63] : '=';
    }
    return out;
}

std::string TStringHelper::Base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) throw EDataError("Base64: Incorrect string format");
    const std::size_t length = OutputLength(text.size() / 4, 3, text, '=');
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t at = 0; at < text.size(); at += 4) {
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 4; ++i)
            group = group << 6 | Base64Digits[static_cast<unsigned char>(text[at + i])];
        for (int shift = 16; shift >= 0; shift -= 8)
            out += static_cast<char>(group >> shift & 0xFF);
    }
    out.resize(length);
    return out;
}

std::string TStringHelper::Base32Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 4) / 5 * 8);
    for (std::size_t at = 0; at < bytes.size(); at += 5) {
        const std::size_t count = std::min<std::size_t>(5, bytes.size() - at);
        std::uint64_t group = 0;
        for (std::size_t i = 0; i < 5; ++i) {
            const auto byte = i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u;
            group = group << 8 | byte;
        }
        const std::size_t kept = 8 - (5 - count);
        for (std::size_t i = 0; i < 8; ++i)
            out += i < kept ? Base32Alphabet[group >> (35 - 5 * i) & 31] : Base32Pad;
    }
    return out;
}

std::string TStringHelper::Base32Decode(std::string_view text) {
    if (text.size() % 8 != 0) throw EDataError("Base32: Incorrect string format");
    const std::size_t length = OutputLength(text.size() / 8, 5, text, Base32Pad);
    std::string out;
    out.reserve(text.size() / 8 * 5);
    for (std::size_t at = 0; at < text.size(); at += 8) {
        std::uint64_t group = 0;
        for (std::size_t i = 0; i < 8; ++i)
            group = group << 5 | Base32Digits[static_cast<unsigned char>(text[at + i])];
        for (int shift = 32; shift >= 0; shift -= 8)
            out += static_cast<char>(group >> shift & 0xFF);
    }
    out.resize(length);
    return out;
}

} // namespace ozra::data
