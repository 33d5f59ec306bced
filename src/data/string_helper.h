// Small text operations shared by the data layer: quoting for SQL text,
// splitting, and hexadecimal rendering of bytes.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ozra::data {

struct TStringHelper {
    // "text" with every embedded double quote doubled.
    static std::string QuoteIdent(std::string_view text);
    // 'text' with every embedded single quote doubled.
    static std::string QuoteStr(std::string_view text);
    // Head and tail around the first occurrence of a character; without one
    // the head is the whole text and the tail empty.
    static std::pair<std::string, std::string> SplitFirst(std::string_view text, char separator);
    // Every piece between separators; the last piece is kept even when empty.
    static std::vector<std::string> SplitAll(std::string_view text, char separator);
    // Two upper-case hexadecimal digits per byte.
    static std::string ToHex(std::string_view bytes);
};

} // namespace ozra::data
