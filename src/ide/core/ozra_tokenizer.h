// The Ozra code highlighter as a pure function: one line of code (the text
// between template delimiters) and the range state the previous line left,
// in; the line's tokens and the state for the next line, out.
//
// Range states: 0 normal, 1 inside a double-quoted string, 2 inside a
// single-quoted string, 3 after "//" (no effect on the next line), 4 inside
// a block comment. Strings and block comments that run past the end of a
// line go on at the start of the next.
//
// Words are keys exactly when the front end's keyword table says they are
// (case-sensitive: "if" is a key, "If" an identifier), so the highlighter
// and the scanner always agree.
#pragma once

#include "ide/core/config_file.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace ozra::ide {

// In the order the highlighter has always numbered them.
enum class OzraToken : std::uint8_t {
    Bracket,
    Comment,
    Delimiter,
    Error,
    Identifier,
    Key,
    Null,
    Number,
    Space,
    String,
    Symbol,
    Unknown,
};

// A token of a line: byte offset, byte length and what the bytes are; the
// meaning of `Kind` is the tokenizer's.
struct Token {
    std::int32_t Start;
    std::int32_t Length;
    std::uint8_t Kind;
    friend bool operator==(const Token&, const Token&) = default;
};

enum class OzraRange : std::uint8_t {
    Normal = 0,
    DoubleQuoted = 1,
    SingleQuoted = 2,
    LineComment = 3,
    BlockComment = 4,
};

std::vector<Token> TokenizeOzraLine(std::string_view line, OzraRange& range);

// The attributes of the Ozra highlighter with their default styles, in
// creation order; `OzraAttributeOf` maps a token kind onto them (-1: none).
const std::vector<AttributeStyle>& OzraAttributes();
int OzraAttributeOf(OzraToken kind) noexcept;

} // namespace ozra::ide
