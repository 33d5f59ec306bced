// The rule table of the script scanner: script text to raw tokens.
//
// A script is a template. The raw scanner walks it with ten start conditions
// (template text at a line start or within a line, code, the two kinds of
// template remark, the two kinds of code comment, the two kinds of quoted
// string, and an escape) and at each token start takes the longest text that
// a rule of the current condition matches, the earlier rule winning a tie.
// It is a hand-written deterministic automaton over bytes: every token is a
// slice of the text, found without allocating.
//
// Raw tokens are what the token filter (scanner.h) turns into parser tokens:
// it hands text runs to the tree builder, drops comments and white space and
// joins string pieces.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "front/token.h"

namespace ozra::front {

// Scanning cannot go on: a single raw token longer than
// `RawScanner::MaxTokenLength` ("match stack overflow"), or a text too large
// for 32-bit positions.
class ScanError : public std::runtime_error {
  public:
    ScanError(const std::string& message, std::int32_t position)
        : std::runtime_error(message), Position(position) {}

    // The 1-based position of the token's first character (1 for a text
    // too large).
    std::int32_t Position;
};

enum class StartCondition : std::uint8_t {
    LineStart,    // template text at the beginning of a line
    InLine,       // template text within a line
    Code,         // after "<." or "[."
    BlockRemark,  // after "<..", closed by "..>"
    InlineRemark, // after "[..", closed by "..]"
    LineComment,  // after "//" in code
    BlockComment, // after "/*" in code
    SingleQuoted, // after "'" in code
    DoubleQuoted, // after a double quote in code
    Escape,       // after a backslash in code
};

enum class RawKind : std::uint8_t {
    ParserToken, // identifier, keyword, number, operator, error run, end of input
    TextRun,     // literal template text
    RemarkText,  // content of a remark or comment
    CodeOpen,    // "<.", "[.", "<..", "[..", and the remark closers "..>", "..]"
    CodeClose,   // a code-block closer, or an opener met where a closer was needed
    Quote,
    Backslash,
    CommentMark, // "//", "/*", "*/"
    WhiteSpace,
    StringPart, // a piece of a quoted string, or an escape letter
};

// The closer whose absence a raw token reports.
enum class MissingCloser : std::uint8_t {
    None,
    SingleQuote,  // "'"
    DoubleQuote,  // the double quote
    BlockComment, // "*/"
    CodeBlock,    // ".>", for a code block still open at the end
    BlockRemark,  // "..>"
    InlineRemark, // "..]"
};

// One raw token, a small value that the rule table fills in place. `Start` and
// `End` are 0-based offsets of its source span [Start, End); so `End` is also
// the 1-based index of its last character, and `End + 1` the 1-based read
// index after it. Its text is the source slice (`RawScanner::Text`); an
// escape's text is the letter, which `EscapedCharacter` converts. `Missing`
// names the closer that a delimiter found inside a string or block comment
// cut short; the end of input carries it too when a quoted string is still
// open there.
struct RawToken {
    RawKind Raw = RawKind::WhiteSpace;
    TokenKind Kind = TokenKind::EndOfInput; // meaningful for ParserToken only
    MissingCloser Missing = MissingCloser::None;
    std::int32_t Start = 0;
    std::int32_t End = 0;
};

// The character an escape letter (n, r or t) stands for.
constexpr char EscapedCharacter(char letter) {
    return letter == 'n' ? '\n' : letter == 'r' ? '\r' : '\t';
}

// "Missing " and the closer, the message for a token that carries one.
std::string MissingMessage(MissingCloser closer);

class RawScanner {
  public:
    // The longest raw token the scanner accepts.
    static constexpr std::int32_t MaxTokenLength = 1048576;

    // `text` is not copied and must outlive the scanner. A NUL character ends
    // the input as the end of the text does.
    explicit RawScanner(std::string_view text);

    // The next raw token, valid until the next call. Characters that no rule
    // of the current condition matches are skipped. At the end of the input
    // this returns (ParserToken, EndOfInput) every time it is called.
    // `dropWhiteSpace` passes over white space in code rather than return it,
    // for a caller that would drop it anyway.
    const RawToken& Scan(bool dropWhiteSpace = false);

    // The most recent raw token that `Scan` returned.
    const RawToken& Last() const { return token_; }

    std::string_view Text(const RawToken& token) const {
        return text_.substr(token.Start, token.End - token.Start);
    }

    bool ReachedEnd() const { return reachedEnd_; }

  private:
    void Dispatch();
    void ScanTemplateText();
    void ScanLineStart();
    void ScanRemark(char closer);
    void ScanCode();
    void ScanWord(std::int32_t start);
    void ScanNumber(std::int32_t start);
    void ScanOperator(std::int32_t start, std::int32_t end);
    void ScanQuoted(char quote, MissingCloser missing);
    void ScanEscape();
    void ScanLineComment();
    void ScanBlockComment();
    void EndOfInput();

    // Makes [pos_, end) the current token; moves past it into `next`.
    void Take(RawKind raw, std::int32_t end, StartCondition next,
              TokenKind kind = TokenKind::EndOfInput, MissingCloser missing = MissingCloser::None);

    // Past «[ \t]* CR? LF» from `from`, or -1 when no line break follows.
    std::int32_t LineBreakEnd(std::int32_t from) const;
    std::int32_t RunEnd(std::int32_t from, std::uint16_t charClass) const;
    char At(std::int32_t index) const { return index < end_ ? text_[index] : '\0'; }

    std::string_view text_;
    std::int32_t end_ = 0; // the first NUL, or the length of the text
    StartCondition condition_ = StartCondition::LineStart;
    bool reachedEnd_ = false;
    bool dropWhiteSpace_ = false;
    // Filled in place rather than returned, so that reading it back costs
    // no more than the writes did.
    RawToken token_;
    // Kept apart from `end_`: one wide load of both right after `pos_` was
    // stored would stall every scan.
    std::int32_t pos_ = 0;
};

} // namespace ozra::front
