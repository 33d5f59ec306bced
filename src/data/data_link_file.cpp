// Reading and writing data link files.
#include "data/data_link_file.h"

#include "data/data_error.h"
#include "data/data_file.h"
#include "data/string_helper.h"

#include <cstdint>

namespace ozra::data {

namespace {

constexpr std::string_view Utf16Mark = "\xFF\xFE";
constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Header =
    "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n";
constexpr char32_t Replacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::string& out, char32_t c) {
    const auto unit = [&](std::uint32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    if (c < 0x10000) {
        unit(c);
    } else {
        c -= 0x10000;
        unit(0xD800 | c >> 10);
        unit(0xDC00 | (c & 0x3FF));
    }
}

// Unpaired surrogates and a dangling odd byte become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    const auto unitAt = [&](std::size_t at) -> std::uint32_t {
        return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                           << 8;
    };
    std::size_t at = 0;
    for (; at + 1 < bytes.size(); at += 2) {
        const std::uint32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size()) {
            const std::uint32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? Replacement : unit);
    }
    if (at < bytes.size()) AppendUtf8(out, Replacement);
    return out;
}

// Malformed sequences become U+FFFD, one for each byte that starts none.
std::string Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const int length = lead < 0x80       ? 1
                           : lead >> 5 == 6  ? 2
                           : lead >> 4 == 14 ? 3
                           : lead >> 3 == 30 ? 4
                                             : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        bool valid = length > 0 && at + static_cast<std::size_t>(length) <= text.size();
        for (int i = 1; valid && i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
            valid = next >> 6 == 2;
            c = c << 6 | (next & 0x3F);
        }
        if (!valid || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            AppendUtf16(out, Replacement);
            ++at;
            continue;
        }
        AppendUtf16(out, c);
        at += static_cast<std::size_t>(length);
    }
    return out;
}

std::string_view Trimmed(std::string_view text) {
    return TStringHelper::Trim(text, " \t\r\n");
}

} // namespace

std::string ReadDataLinkFile(const std::string& path) {
    const std::string bytes = ReadDataFile(path);
    std::string_view view(bytes);
    std::string text;
    if (view.starts_with(Utf16Mark)) {
        text = Utf16LeToUtf8(view.substr(Utf16Mark.size()));
        view = text;
    } else if (view.starts_with(Utf8Mark)) {
        view.remove_prefix(Utf8Mark.size());
    }
    while (!view.empty()) {
        const std::size_t end = view.find('\n');
        const std::string_view line = Trimmed(view.substr(0, end));
        if (!line.empty() && line.front() != '[' && line.front() != ';') return std::string(line);
        if (end == std::string_view::npos) break;
        view.remove_prefix(end + 1);
    }
    throw EDataError("The data link file \"" + path + "\" holds no connection string.");
}

void WriteDataLinkFile(const std::string& path, std::string_view connectionString) {
    const std::string_view line = Trimmed(connectionString);
    if (line.find_first_of("\r\n") != std::string_view::npos)
        throw EDataError("A connection string cannot hold a line break.");
    std::string text(Header);
    text += line;
    text += "\r\n";
    ReplaceDataFile(path, std::string(Utf16Mark) + Utf8ToUtf16Le(text));
}

} // namespace ozra::data
