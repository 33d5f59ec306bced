// Copying highlighted text as HTML and RTF, beside the plain text, so that
// a pasted selection keeps its colours.
//
// The exporters are pure functions of the selected bytes, the style of
// each byte and the look of each style. Text is UTF-8; HTML escapes markup
// characters and RTF writes every non-ASCII character as \uN?, so neither
// depends on the reader's code page. A byte that is not part of valid
// UTF-8 becomes U+FFFD in both.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace ozra::ide::gui {

class ScriptEditor;

struct StyleLook {
    std::uint32_t Foreground = 0x000000; // 0xRRGGBB
    std::uint32_t Background = 0xFFFFFF;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

using StyleLooks = std::map<std::uint8_t, StyleLook>;

std::string ExportHtml(std::string_view text, std::span<const std::uint8_t> styles,
                       const StyleLooks& looks, std::string_view fontName);
std::string ExportRtf(std::string_view text, std::span<const std::uint8_t> styles,
                      const StyleLooks& looks, std::string_view fontName, int fontSize);

// Puts the editor's selection on the clipboard as plain text, HTML and
// RTF; nothing when nothing is selected.
void CopyWithFormats(ScriptEditor& editor);

} // namespace ozra::ide::gui
