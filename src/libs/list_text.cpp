// Line and delimited text of string lists.
#include "libs/list_text.h"

namespace ozra::libs {

namespace {

constexpr char Quote = '"';

bool IsBlank(char c) noexcept {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

bool NeedsQuotes(std::string_view text, char delimiter) noexcept {
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= 32 || c == Quote || c == delimiter) return true;
    }
    return false;
}

} // namespace

std::string LineText(const value::TStringListEx& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i) {
        text += list.Strings(i);
        text += "\r\n";
    }
    return text;
}

void SetLineText(value::TStringListEx& list, std::string_view text) {
    list.Clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        list.Add(std::string(text.substr(start, end - start)));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

std::string DelimitedText(const value::TStringListEx& list, char delimiter) {
    if (list.Count() == 1 && list.Strings(0).empty()) return std::string(2, Quote);
    std::string text;
    for (int i = 0; i < list.Count(); ++i) {
        if (i > 0) text += delimiter;
        const std::string& item = list.Strings(i);
        if (!NeedsQuotes(item, delimiter)) {
            text += item;
            continue;
        }
        text += Quote;
        for (char c : item) {
            if (c == Quote) text += Quote;
            text += c;
        }
        text += Quote;
    }
    return text;
}

void SetDelimitedText(value::TStringListEx& list, std::string_view text, char delimiter) {
    list.Clear();
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string item;
        if (text[i] == Quote) {
            for (++i; i < text.size(); ++i) {
                if (text[i] != Quote) {
                    item += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == Quote) {
                    item += Quote;
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            // A NUL byte is data here: stopping at it without skipping it
            // would never end.
            while (i < text.size() && text[i] != delimiter && !IsBlank(text[i]))
                item += text[i++];
        }
        list.Add(std::move(item));
        skipBlanks();
        if (i < text.size() && text[i] == delimiter) {
            ++i;
            skipBlanks();
            if (i >= text.size()) list.Add(std::string());
        }
    }
}

} // namespace ozra::libs
