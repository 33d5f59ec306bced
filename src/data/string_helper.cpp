// Quoting, splitting and hex rendering for the data layer.
#include "data/string_helper.h"

namespace ozra::data {

namespace {

std::string Quote(std::string_view text, char quote) {
    std::string out;
    out.reserve(text.size() + 2);
    out += quote;
    for (char c : text) {
        out += c;
        if (c == quote) out += quote;
    }
    out += quote;
    return out;
}

} // namespace

std::string TStringHelper::QuoteIdent(std::string_view text) {
    return Quote(text, '"');
}

std::string TStringHelper::QuoteStr(std::string_view text) {
    return Quote(text, '\'');
}

std::pair<std::string, std::string> TStringHelper::SplitFirst(std::string_view text,
                                                              char separator) {
    auto at = text.find(separator);
    if (at == std::string_view::npos) return {std::string(text), std::string()};
    return {std::string(text.substr(0, at)), std::string(text.substr(at + 1))};
}

std::vector<std::string> TStringHelper::SplitAll(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + 1)
        pieces.emplace_back(text.substr(start, at - start));
    pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string TStringHelper::ToHex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string_view TStringHelper::Trim(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string TStringHelper::UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

} // namespace ozra::data
