// Case-insensitive names: the folding and hashing behind every name table.
//
// Names in scripts are mostly ASCII identifiers and ignore letter case.
// Folding touches only A-Z, so other bytes (UTF-8 included) must match
// exactly. Name lookup is the interpreter's hot path, so names are folded,
// compared and hashed eight bytes at a time: a word's upper-case ASCII
// letters are found with carry-free byte arithmetic and get their 0x20 bit
// set. The hash is the same for every spelling of a name.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace ozra::value {

constexpr unsigned char FoldAscii(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

namespace name_detail {

constexpr std::uint64_t EachByte(std::uint8_t b) noexcept {
    return 0x0101010101010101ull * b;
}

// Lower-cases the ASCII letters A-Z in each byte of the word. Adding to the
// low seven bits never carries into the next byte, and bytes of 0x80 and
// above are left alone.
constexpr std::uint64_t FoldWord(std::uint64_t word) noexcept {
    const std::uint64_t low7 = word & EachByte(0x7F);
    const std::uint64_t atLeastA = low7 + EachByte(0x80 - 'A');
    const std::uint64_t aboveZ = low7 + EachByte(0x80 - 'Z' - 1);
    const std::uint64_t upper = (atLeastA ^ aboveZ) & ~word & EachByte(0x80);
    return word | (upper >> 2);
}

inline std::uint64_t LoadWord(const char* p) noexcept {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// The folded words of a name, visited in order: whole words, then the last
// eight bytes (overlapping the previous word) for the rest, or the bytes
// one by one when the name is shorter than a word. Two names of the same
// length are visited in the same pattern, so equality and hashing hold.
template <class Visit> inline bool ForEachFoldedWord(std::string_view name, Visit visit) noexcept {
    const std::size_t size = name.size();
    if (size < 8) {
        std::uint64_t word = 0;
        for (std::size_t k = 0; k < size; ++k)
            word |= std::uint64_t{static_cast<unsigned char>(name[k])} << (8 * k);
        return visit(0, FoldWord(word));
    }
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        if (!visit(i, FoldWord(LoadWord(name.data() + i)))) return false;
    }
    if (i < size) return visit(size - 8, FoldWord(LoadWord(name.data() + size - 8)));
    return true;
}

} // namespace name_detail

inline std::uint32_t NameHash(std::string_view name) noexcept {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ name.size();
    name_detail::ForEachFoldedWord(name, [&hash](std::size_t, std::uint64_t word) {
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
        return true;
    });
    return static_cast<std::uint32_t>(hash);
}

inline bool NamesEqual(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    if (a.size() < 8) {
        for (std::size_t k = 0; k < a.size(); ++k) {
            if (FoldAscii(static_cast<unsigned char>(a[k])) !=
                FoldAscii(static_cast<unsigned char>(b[k])))
                return false;
        }
        return true;
    }
    return name_detail::ForEachFoldedWord(a, [&b](std::size_t offset, std::uint64_t word) {
        return word == name_detail::FoldWord(name_detail::LoadWord(b.data() + offset));
    });
}

// Negative, zero or positive as a orders before, with or after b, ignoring
// the case of A-Z (letters order as lower case).
inline int CompareNames(std::string_view a, std::string_view b) noexcept {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    std::size_t i = 0;
    // Skip the equal words quickly; the first differing word is settled
    // byte by byte below.
    while (i + 8 <= n && name_detail::FoldWord(name_detail::LoadWord(a.data() + i)) ==
                             name_detail::FoldWord(name_detail::LoadWord(b.data() + i)))
        i += 8;
    for (; i < n; ++i) {
        const int ca = FoldAscii(static_cast<unsigned char>(a[i]));
        const int cb = FoldAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace ozra::value
