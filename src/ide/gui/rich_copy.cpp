#include "ide/gui/rich_copy.h"

#include "ide/gui/script_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <cstdio>
#include <vector>

namespace ozra::ide::gui {

namespace {

// The next code point of UTF-8 text, advancing `at`; U+FFFD for a byte
// that does not start a valid sequence.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int extra = lead < 0x80                   ? 0
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xF0 && lead < 0xF5 ? 3
                                                    : -1;
    if (extra == 0) {
        ++at;
        return lead;
    }
    if (extra < 0 || at + extra >= text.size()) {
        ++at;
        return U'\uFFFD';
    }
    char32_t point = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return U'\uFFFD';
        }
        point = (point << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[extra] || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000)) {
        ++at;
        return U'\uFFFD';
    }
    at += extra + 1;
    return point;
}

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

std::string Hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
    return text;
}

StyleLook LookOf(const StyleLooks& looks, std::uint8_t style) {
    const auto found = looks.find(style);
    return found == looks.end() ? StyleLook{} : found->second;
}

// Calls `run(from, to, style)` for each stretch of one style.
template <typename Run>
void ForEachRun(std::string_view text, std::span<const std::uint8_t> styles, Run run) {
    std::size_t start = 0;
    for (std::size_t i = 1; i <= text.size(); ++i) {
        const auto style = [&](std::size_t at) { return at < styles.size() ? styles[at] : 0; };
        if (i == text.size() || style(i) != style(start)) {
            run(start, i, style(start));
            start = i;
        }
    }
}

} // namespace

std::string ExportHtml(std::string_view text, std::span<const std::uint8_t> styles,
                       const StyleLooks& looks, std::string_view fontName) {
    std::string html = "<html><body><pre style=\"font-family: '";
    html.append(fontName).append("'\">");
    ForEachRun(text, styles, [&](std::size_t from, std::size_t to, std::uint8_t style) {
        const StyleLook look = LookOf(looks, style);
        html += "<span style=\"color: " + Hex(look.Foreground) +
                "; background: " + Hex(look.Background);
        if (look.Bold) html += "; font-weight: bold";
        if (look.Italic) html += "; font-style: italic";
        if (look.Underline) html += "; text-decoration: underline";
        html += "\">";
        for (std::size_t at = from; at < to;) {
            const char32_t point = NextCodePoint(text, at);
            switch (point) {
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '&':
                html += "&amp;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\r':
                break;
            default:
                AppendUtf8(html, point);
            }
        }
        html += "</span>";
    });
    html += "</pre></body></html>";
    return html;
}

std::string ExportRtf(std::string_view text, std::span<const std::uint8_t> styles,
                      const StyleLooks& looks, std::string_view fontName, int fontSize) {
    // Colour table: index 0 is "auto"; each look brings its two colours.
    std::vector<std::uint32_t> colors;
    const auto colorIndex = [&](std::uint32_t rgb) {
        for (std::size_t i = 0; i < colors.size(); ++i)
            if (colors[i] == rgb) return i + 1;
        colors.push_back(rgb);
        return colors.size();
    };
    std::string body;
    ForEachRun(text, styles, [&](std::size_t from, std::size_t to, std::uint8_t style) {
        const StyleLook look = LookOf(looks, style);
        const std::size_t foreground = colorIndex(look.Foreground);
        const std::size_t background = colorIndex(look.Background);
        body += "{\\cf" + std::to_string(foreground) + "\\highlight" + std::to_string(background);
        if (look.Bold) body += "\\b";
        if (look.Italic) body += "\\i";
        if (look.Underline) body += "\\ul";
        body += ' ';
        for (std::size_t at = from; at < to;) {
            const char32_t point = NextCodePoint(text, at);
            if (point == '\\' || point == '{' || point == '}') {
                body += '\\';
                body += static_cast<char>(point);
            } else if (point == '\n') {
                body += "\\par\n";
            } else if (point == '\r') {
            } else if (point == '\t') {
                body += "\\tab ";
            } else if (point < 0x80) {
                body += static_cast<char>(point);
            } else if (point < 0x10000) {
                body += "\\u" + std::to_string(static_cast<std::int16_t>(point)) + "?";
            } else {
                const char32_t rest = point - 0x10000;
                body +=
                    "\\u" + std::to_string(static_cast<std::int16_t>(0xD800 + (rest >> 10))) + "?";
                body += "\\u" + std::to_string(static_cast<std::int16_t>(0xDC00 + (rest & 0x3FF))) +
                        "?";
            }
        }
        body += '}';
    });
    std::string rtf = "{\\rtf1\\ansi\\ansicpg65001\\deff0{\\fonttbl{\\f0\\fmodern ";
    rtf.append(fontName).append(";}}{\\colortbl ;");
    for (std::uint32_t rgb : colors)
        rtf += "\\red" + std::to_string((rgb >> 16) & 0xFF) + "\\green" +
               std::to_string((rgb >> 8) & 0xFF) + "\\blue" + std::to_string(rgb & 0xFF) + ";";
    rtf += "}\\f0\\fs" + std::to_string(fontSize * 2) + " " + body + "}";
    return rtf;
}

void CopyWithFormats(ScriptEditor& editor) {
    const std::int32_t start = editor.SelectionStartByte();
    const std::int32_t length = editor.SelectionLengthByte();
    if (length <= 0) return;
    const std::string text = editor.Bytes().substr(start, length);
    std::vector<std::uint8_t> styles(text.size());
    StyleLooks looks;
    for (std::int32_t i = 0; i < length; ++i) {
        const auto style = static_cast<std::uint8_t>(editor.SendScintilla(
            QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(start + i)));
        styles[i] = style;
        if (looks.contains(style)) continue;
        // Scintilla keeps colours as 0xBBGGRR.
        const auto rgb = [](long bgr) {
            return static_cast<std::uint32_t>(((bgr & 0xFF) << 16) | (bgr & 0xFF00) |
                                              ((bgr >> 16) & 0xFF));
        };
        StyleLook look;
        look.Foreground = rgb(editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, style));
        look.Background = rgb(editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK, style));
        look.Bold = editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETBOLD, style) != 0;
        look.Italic = editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETITALIC, style) != 0;
        look.Underline = editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETUNDERLINE, style) != 0;
        looks.emplace(style, look);
    }
    const std::string font = editor.font().family().toStdString();
    const int size = editor.font().pointSize() > 0 ? editor.font().pointSize() : 10;
    // The clipboard takes the data over.
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    data->setHtml(QString::fromStdString(ExportHtml(text, styles, looks, font)));
    const QByteArray rtf = QByteArray::fromStdString(ExportRtf(text, styles, looks, font, size));
    data->setData("text/rtf", rtf);
    data->setData("application/rtf", rtf);
    QApplication::clipboard()->setMimeData(data);
}

} // namespace ozra::ide::gui
