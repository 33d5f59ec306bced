// UTF-8 and UTF-32 conversions with replacement of malformed input.
#include "libs/wide_text.h"

#include <cstdint>

namespace ozra::libs {

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsScalar(char32_t c) noexcept {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

bool IsContinuation(unsigned char byte) noexcept {
    return (byte & 0xC0) == 0x80;
}

// Decodes the sequence at `at`, advancing past it; a malformed sequence
// yields U+FFFD and advances one byte.
char32_t Decode(std::string_view text, std::size_t& at) noexcept {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        ++at;
        return Replacement;
    }
    if (at + length > text.size()) {
        ++at;
        return Replacement;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[at + k]);
        if (!IsContinuation(byte)) {
            ++at;
            return Replacement;
        }
        code = (code << 6) | (byte & 0x3F);
    }
    // Overlong forms and encoded surrogates are malformed too.
    if (code < least || !IsScalar(code)) {
        ++at;
        return Replacement;
    }
    at += length;
    return code;
}

void Encode(char32_t c, std::string& out) {
    if (!IsScalar(c)) c = Replacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::wstring WideFromUtf8(std::string_view text) {
    static_assert(sizeof(wchar_t) == 4, "wide characters are UTF-32 on this system");
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t at = 0; at < text.size();)
        wide += static_cast<wchar_t>(Decode(text, at));
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text)
        Encode(static_cast<char32_t>(static_cast<std::uint32_t>(c)), out);
    return out;
}

} // namespace ozra::libs
