// Case-insensitive names: the folding and hashing behind every name table.
//
// Names in scripts are mostly ASCII identifiers and ignore letter case.
// Folding touches only A-Z, so other bytes (UTF-8 included) must match
// exactly. The hash is FNV-1a over the folded bytes: cheap for the short
// names of a script and the same for any spelling of a name.
#pragma once

#include <cstdint>
#include <string_view>

namespace ozra::runtime {

constexpr unsigned char FoldAscii(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

constexpr std::uint32_t NameHash(std::string_view name) noexcept {
    std::uint32_t hash = 2166136261u;
    for (char c : name) {
        hash = (hash ^ FoldAscii(static_cast<unsigned char>(c))) * 16777619u;
    }
    return hash;
}

constexpr bool NamesEqual(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(a[i])) !=
            FoldAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Negative, zero or positive as a orders before, with or after b, ignoring
// the case of A-Z.
constexpr int CompareNames(std::string_view a, std::string_view b) noexcept {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = FoldAscii(static_cast<unsigned char>(a[i]));
        const int cb = FoldAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace ozra::runtime
