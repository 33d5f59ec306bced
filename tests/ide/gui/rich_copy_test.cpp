// The HTML and RTF forms of a copied selection.
#include "ide/gui/rich_copy.h"

#include <gtest/gtest.h>

#include <vector>

namespace ozra::ide::gui {
namespace {

const StyleLooks kLooks = {{0, StyleLook{0x000000, 0xFFFFFF}},
                           {1, StyleLook{0x0000FF, 0xF5FBB5, true}}};

TEST(RichCopy, HtmlEscapesMarkupKeepsColoursPerRunAndDropsCarriageReturns) {
    const std::string text = "a<.x & \"y\".>\r\n";
    const std::vector<std::uint8_t> styles = {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
    ASSERT_EQ(styles.size(), text.size());
    EXPECT_EQ(ExportHtml(text, styles, kLooks, "Courier New"),
              "<html><body><pre style=\"font-family: 'Courier New'\">"
              "<span style=\"color: #000000; background: #FFFFFF\">a</span>"
              "<span style=\"color: #0000FF; background: #F5FBB5; font-weight: bold\">"
              "&lt;.x &amp; &quot;y&quot;.&gt;</span>"
              "<span style=\"color: #000000; background: #FFFFFF\">\n</span></pre></body></html>");
}

TEST(RichCopy, RtfEscapesBracesWritesUnicodeAndReplacesInvalidBytes) {
    // "é", a brace, a backslash, a bad byte, a character beyond 16 bits.
    const std::string text = "\xC3\xA9{\\\xFF\xF0\x9F\x98\x80\n";
    const std::vector<std::uint8_t> styles(text.size(), 1);
    EXPECT_EQ(ExportRtf(text, styles, kLooks, "Mono", 10),
              "{\\rtf1\\ansi\\ansicpg65001\\deff0{\\fonttbl{\\f0\\fmodern Mono;}}"
              "{\\colortbl ;\\red0\\green0\\blue255;\\red245\\green251\\blue181;}\\f0\\fs20 "
              "{\\cf1\\highlight2\\b \\u233?\\{\\\\\\u-3?\\u-10179?\\u-8704?\\par\n}}");
}

} // namespace
} // namespace ozra::ide::gui
