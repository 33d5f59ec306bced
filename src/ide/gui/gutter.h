// What the editor's gutter shows for a line, as pure functions: the glyph
// (one per line, the most important condition winning) and the line-number
// text, which names line 1, every tenth line and the caret line and marks
// the others in the last digit's place, "-" on multiples of five and "."
// elsewhere, so the eye can count lines without a column of digits.
#pragma once

#include <cstdint>
#include <string>

namespace ozra::ide::gui {

enum class GutterGlyph : std::uint8_t {
    None,
    ExecutionPoint,
    BreakpointWithBookmark,
    Breakpoint,
    InvalidBreakpoint,
    Bookmark,
    Executable,
};

struct LineMarks {
    bool ExecutionLine = false;
    bool Breakpoint = false;
    bool Bookmark = false;
    // The up-to-date debug data has a statement (or a function's end) here.
    bool Executable = false;
};

GutterGlyph GlyphFor(const LineMarks& marks) noexcept;

// The text of 1-based `line`, right-aligned in `width` characters.
std::string LineNumberText(std::int32_t line, std::int32_t caretLine, int width);
// Digits the gutter needs for `lineCount` lines; at least 2.
int LineNumberWidth(std::int32_t lineCount) noexcept;

} // namespace ozra::ide::gui
