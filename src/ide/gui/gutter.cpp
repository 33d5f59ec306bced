#include "ide/gui/gutter.h"

namespace ozra::ide::gui {

GutterGlyph GlyphFor(const LineMarks& marks) noexcept {
    if (marks.ExecutionLine) return GutterGlyph::ExecutionPoint;
    if (marks.Breakpoint && marks.Bookmark) return GutterGlyph::BreakpointWithBookmark;
    if (marks.Breakpoint)
        return marks.Executable ? GutterGlyph::Breakpoint : GutterGlyph::InvalidBreakpoint;
    if (marks.Bookmark) return GutterGlyph::Bookmark;
    if (marks.Executable) return GutterGlyph::Executable;
    return GutterGlyph::None;
}

std::string LineNumberText(std::int32_t line, std::int32_t caretLine, int width) {
    std::string text;
    if (line == 1 || line % 10 == 0 || line == caretLine)
        text = std::to_string(line);
    else
        text = line % 5 == 0 ? "-" : ".";
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
    return text;
}

int LineNumberWidth(std::int32_t lineCount) noexcept {
    int digits = 1;
    for (std::int32_t rest = lineCount; rest >= 10; rest /= 10)
        ++digits;
    return digits < 2 ? 2 : digits;
}

} // namespace ozra::ide::gui
