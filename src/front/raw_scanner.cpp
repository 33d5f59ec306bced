// The rule table as a hand-written automaton.
//
// Each condition has one function that looks at the character under the
// read index and the few after it and decides which pattern gives the
// longest match; runs of like characters are eaten with one table lookup per
// byte. Where two patterns match the same length (a plain word is also a
// one-part dotted name, "<." at a line start is also "<." after no
// indentation) the first-listed one wins, and both would give the same
// token.
#include "front/raw_scanner.h"

#include <array>
#include <cstring>
#include <limits>

#include "front/keywords.h"

namespace ozra::front {
namespace {

using enum StartCondition;

enum CharClass : std::uint16_t {
    kIdentStart = 1 << 0,        // [@A-Za-z_]
    kIdentPart = 1 << 1,         // [@A-Za-z_0-9]
    kDigit = 1 << 2,             // [0-9]
    kHexDigit = 1 << 3,          // [0-9A-Fa-f]
    kOperatorChar = 1 << 4,      // [!%&*+\-<=>?^|~]
    kCodeSpace = 1 << 5,         // [ \t\r\n]
    kTextChar = 1 << 6,          // [^\n<[]
    kRemarkChar = 1 << 7,        // [^.]
    kSingleQuotedChar = 1 << 8,  // [^'.<[]
    kDoubleQuotedChar = 1 << 9,  // [^".<[]
    kLineCommentChar = 1 << 10,  // [^\n.<[]
    kBlockCommentChar = 1 << 11, // [^*.<[]
    kCodeStart = 1 << 12,        // a character some code rule can start with
};

constexpr bool OneOf(int c, std::string_view set) {
    return set.find(static_cast<char>(c)) != std::string_view::npos;
}

// NUL is in no class, so every run stops at it.
constexpr std::array<std::uint16_t, 256> MakeCharClasses() {
    std::array<std::uint16_t, 256> classes{};
    for (int c = 1; c < 256; ++c) {
        std::uint16_t flags = 0;
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        if (letter || c == '@' || c == '_') flags |= kIdentStart | kIdentPart;
        if (digit) flags |= kDigit | kIdentPart;
        if (digit || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) flags |= kHexDigit;
        if (OneOf(c, "!%&*+-<=>?^|~")) flags |= kOperatorChar;
        if (OneOf(c, " \t\r\n")) flags |= kCodeSpace;
        if (!OneOf(c, "\n<[")) flags |= kTextChar;
        if (c != '.') flags |= kRemarkChar;
        if (!OneOf(c, "'.<[")) flags |= kSingleQuotedChar;
        if (!OneOf(c, "\".<[")) flags |= kDoubleQuotedChar;
        if (!OneOf(c, "\n.<[")) flags |= kLineCommentChar;
        if (!OneOf(c, "*.<[")) flags |= kBlockCommentChar;
        if ((flags & (kIdentStart | kDigit | kOperatorChar | kCodeSpace)) ||
            OneOf(c, "$'\"\\/(),;[]{}.:"))
            flags |= kCodeStart;
        classes[c] = flags;
    }
    return classes;
}

constexpr std::array<std::uint16_t, 256> kCharClasses = MakeCharClasses();

bool Is(char c, std::uint16_t charClass) {
    return kCharClasses[static_cast<unsigned char>(c)] & charClass;
}

std::int32_t CheckedLength(std::string_view text) {
    // Positions are 32-bit and one past the end must still be one.
    if (text.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw ScanError("script text too large", 1);
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return static_cast<std::int32_t>(nul ? static_cast<const char*>(nul) - text.data()
                                         : static_cast<std::ptrdiff_t>(text.size()));
}

} // namespace

std::string MissingMessage(MissingCloser closer) {
    switch (closer) {
    case MissingCloser::None:
        break;
    case MissingCloser::SingleQuote:
        return "Missing '";
    case MissingCloser::DoubleQuote:
        return "Missing \"";
    case MissingCloser::BlockComment:
        return "Missing */";
    case MissingCloser::CodeBlock:
        return "Missing .>";
    case MissingCloser::BlockRemark:
        return "Missing ..>";
    case MissingCloser::InlineRemark:
        return "Missing ..]";
    }
    return {};
}

RawScanner::RawScanner(std::string_view text) : text_(text), end_(CheckedLength(text)) {}

const RawToken& RawScanner::Scan(bool dropWhiteSpace) {
    dropWhiteSpace_ = dropWhiteSpace;
    Dispatch();
    return token_;
}

void RawScanner::Dispatch() {
    if (pos_ >= end_) return EndOfInput();
    switch (condition_) {
    case LineStart:
        return ScanLineStart();
    case InLine:
        return ScanTemplateText();
    case Code:
        return ScanCode();
    case BlockRemark:
        return ScanRemark('>');
    case InlineRemark:
        return ScanRemark(']');
    case LineComment:
        return ScanLineComment();
    case BlockComment:
        return ScanBlockComment();
    case SingleQuoted:
        return ScanQuoted('\'', MissingCloser::SingleQuote);
    case DoubleQuoted:
        return ScanQuoted('"', MissingCloser::DoubleQuote);
    case Escape:
        return ScanEscape();
    }
    throw ScanError("invalid scanner state", pos_ + 1);
}

void RawScanner::Take(RawKind raw, std::int32_t end, StartCondition next, TokenKind kind,
                      MissingCloser missing) {
    const std::int32_t start = pos_;
    if (end - start > MaxTokenLength) throw ScanError("match stack overflow", start + 1);
    pos_ = end;
    condition_ = next;
    token_ = RawToken{raw, kind, missing, start, end};
}

void RawScanner::EndOfInput() {
    // Whatever is still open at the end would otherwise pass silently: a
    // quoted string, a comment, a remark or the code block itself.
    MissingCloser missing = MissingCloser::None;
    switch (condition_) {
    case SingleQuoted:
        missing = MissingCloser::SingleQuote;
        break;
    case DoubleQuoted:
        missing = MissingCloser::DoubleQuote;
        break;
    case BlockComment:
        missing = MissingCloser::BlockComment;
        break;
    case BlockRemark:
        missing = MissingCloser::BlockRemark;
        break;
    case InlineRemark:
        missing = MissingCloser::InlineRemark;
        break;
    case Code:
    case LineComment:
    case Escape:
        missing = MissingCloser::CodeBlock;
        break;
    case LineStart:
    case InLine:
        break;
    }
    condition_ = Code;
    reachedEnd_ = true;
    token_ = RawToken{RawKind::ParserToken, TokenKind::EndOfInput, missing, end_, end_};
}

std::int32_t RawScanner::LineBreakEnd(std::int32_t from) const {
    std::int32_t i = from;
    while (i < end_ && (text_[i] == ' ' || text_[i] == '\t'))
        ++i;
    if (At(i) == '\r') ++i;
    return At(i) == '\n' ? i + 1 : -1;
}

std::int32_t RawScanner::RunEnd(std::int32_t from, std::uint16_t charClass) const {
    std::int32_t i = from;
    while (i < end_ && Is(text_[i], charClass))
        ++i;
    return i;
}

// "<." and "<.." after nothing but indentation swallow it. Everything else
// at a line start scans as it would within a line.
void RawScanner::ScanLineStart() {
    std::int32_t i = pos_;
    while (i < end_ && (text_[i] == ' ' || text_[i] == '\t'))
        ++i;
    if (At(i) == '<' && At(i + 1) == '.') {
        if (At(i + 2) == '.') return Take(RawKind::CodeOpen, i + 3, BlockRemark);
        return Take(RawKind::CodeOpen, i + 2, Code);
    }
    return ScanTemplateText();
}

void RawScanner::ScanTemplateText() {
    const std::int32_t i = pos_;
    const char c = text_[i];
    if (c == '\n') return Take(RawKind::TextRun, i + 1, LineStart);
    if (c == '<' || c == '[') {
        if (At(i + 1) != '.') return Take(RawKind::TextRun, i + 1, InLine);
        if (At(i + 2) == '.')
            return Take(RawKind::CodeOpen, i + 3, c == '<' ? BlockRemark : InlineRemark);
        return Take(RawKind::CodeOpen, i + 2, Code);
    }
    return Take(RawKind::TextRun, RunEnd(i, kTextChar), InLine);
}

// Only "..>" closes a block remark, and only it swallows the rest of its
// line; only "..]" closes an inline remark.
void RawScanner::ScanRemark(char closer) {
    const std::int32_t i = pos_;
    if (text_[i] != '.') return Take(RawKind::RemarkText, RunEnd(i, kRemarkChar), condition_);
    if (At(i + 1) == '.' && At(i + 2) == closer) {
        if (closer == '>') {
            const std::int32_t lineEnd = LineBreakEnd(i + 3);
            if (lineEnd >= 0) return Take(RawKind::CodeOpen, lineEnd, LineStart);
        }
        return Take(RawKind::CodeOpen, i + 3, InLine);
    }
    return Take(RawKind::RemarkText, i + 1, condition_);
}

void RawScanner::ScanCode() {
    for (;;) {
        std::int32_t i = pos_;
        while (i < end_ && !Is(text_[i], kCodeStart))
            ++i;
        pos_ = i;
        if (i >= end_) return EndOfInput();

        const char c = text_[i];
        const char next = At(i + 1);
        if (Is(c, kIdentStart)) return ScanWord(i);
        if (Is(c, kDigit)) return ScanNumber(i);
        if (Is(c, kCodeSpace)) {
            const std::int32_t spaceEnd = RunEnd(i, kCodeSpace);
            if (!dropWhiteSpace_) return Take(RawKind::WhiteSpace, spaceEnd, Code);
            if (spaceEnd - i > MaxTokenLength) throw ScanError("match stack overflow", i + 1);
            pos_ = spaceEnd;
            continue;
        }
        if (Is(c, kOperatorChar)) return ScanOperator(i, RunEnd(i, kOperatorChar));
        switch (c) {
        case '.':
            if (next == '>') {
                const std::int32_t lineEnd = LineBreakEnd(i + 2);
                if (lineEnd >= 0) return Take(RawKind::CodeClose, lineEnd, LineStart);
                return Take(RawKind::CodeClose, i + 2, InLine);
            }
            if (next == ']') return Take(RawKind::CodeClose, i + 2, InLine);
            {
                std::int32_t dots = i + 1;
                while (At(dots) == '.')
                    ++dots;
                return ScanOperator(i, dots);
            }
        case '$':
            if (Is(next, kHexDigit))
                return Take(RawKind::ParserToken, RunEnd(i + 1, kHexDigit), Code,
                            TokenKind::HexLit);
            ++pos_; // a "$" without hex digits matches no rule
            continue;
        case '\'':
            return Take(RawKind::Quote, i + 1, SingleQuoted);
        case '"':
            return Take(RawKind::Quote, i + 1, DoubleQuoted);
        case '\\':
            return Take(RawKind::Backslash, i + 1, Escape);
        case '/':
            if (next == '/') return Take(RawKind::CommentMark, i + 2, LineComment);
            if (next == '*') return Take(RawKind::CommentMark, i + 2, BlockComment);
            return ScanOperator(i, next == '%' || next == '=' ? i + 2 : i + 1);
        case ':':
            return ScanOperator(i, next == '=' ? i + 2 : i + 1);
        default:
            return ScanOperator(i, i + 1); // ( ) , ; [ ] { }
        }
    }
}

// A word, or words joined by dots with nothing between.
void RawScanner::ScanWord(std::int32_t start) {
    const std::int32_t wordEnd = RunEnd(start + 1, kIdentPart);
    std::int32_t end = wordEnd;
    while (At(end) == '.' && Is(At(end + 1), kIdentStart))
        end = RunEnd(end + 2, kIdentPart);
    if (end > wordEnd) return Take(RawKind::ParserToken, end, Code, TokenKind::Dotted);
    return Take(RawKind::ParserToken, wordEnd, Code,
                LookupKeyword(text_.substr(start, wordEnd - start)));
}

// "1..5" is an integer followed by "..": a float needs a digit after its
// dot.
void RawScanner::ScanNumber(std::int32_t start) {
    if (text_[start] == '0' && (At(start + 1) == 'x' || At(start + 1) == 'X') &&
        Is(At(start + 2), kHexDigit))
        return Take(RawKind::ParserToken, RunEnd(start + 2, kHexDigit), Code, TokenKind::HexLit);
    const std::int32_t digitsEnd = RunEnd(start + 1, kDigit);
    if (At(digitsEnd) == '.' && Is(At(digitsEnd + 1), kDigit))
        return Take(RawKind::ParserToken, RunEnd(digitsEnd + 1, kDigit), Code, TokenKind::FloatLit);
    return Take(RawKind::ParserToken, digitsEnd, Code, TokenKind::IntLit);
}

void RawScanner::ScanOperator(std::int32_t start, std::int32_t end) {
    return Take(RawKind::ParserToken, end, Code, LookupOperator(text_.substr(start, end - start)));
}

// Strings take their content literally, line breaks included; a code
// delimiter inside one cuts it short with an error.
void RawScanner::ScanQuoted(char quote, MissingCloser missing) {
    const std::int32_t i = pos_;
    const char c = text_[i];
    const char next = At(i + 1);
    if (c == quote) return Take(RawKind::Quote, i + 1, Code);
    if ((c == '<' || c == '[') && next == '.')
        return Take(RawKind::CodeClose, i + 2, Code, TokenKind::EndOfInput, missing);
    if (c == '.' && (next == '>' || next == ']'))
        return Take(RawKind::CodeClose, i + 2, InLine, TokenKind::EndOfInput, missing);
    if (c == '.' || c == '<' || c == '[') return Take(RawKind::StringPart, i + 1, condition_);
    return Take(RawKind::StringPart,
                RunEnd(i, quote == '\'' ? kSingleQuotedChar : kDoubleQuotedChar), condition_);
}

// Any character after a backslash other than n, r or t matches nothing and
// is skipped, and the scanner stays here until an n, r or t comes.
void RawScanner::ScanEscape() {
    for (; pos_ < end_; ++pos_) {
        const char c = text_[pos_];
        if (c == 'n' || c == 'r' || c == 't') return Take(RawKind::StringPart, pos_ + 1, Code);
    }
    return EndOfInput();
}

// A line comment ends at the line break or at a code delimiter, which then
// does its usual work.
void RawScanner::ScanLineComment() {
    const std::int32_t i = pos_;
    const char c = text_[i];
    const char next = At(i + 1);
    if (c == '\n') return Take(RawKind::WhiteSpace, i + 1, Code);
    if ((c == '<' || c == '[') && next == '.') return Take(RawKind::CodeClose, i + 2, Code);
    if (c == '.' && (next == '>' || next == ']')) return Take(RawKind::CodeClose, i + 2, InLine);
    if (c == '.' || c == '<' || c == '[') return Take(RawKind::RemarkText, i + 1, LineComment);
    return Take(RawKind::RemarkText, RunEnd(i, kLineCommentChar), LineComment);
}

// A code delimiter inside a block comment ends it too, with an error.
void RawScanner::ScanBlockComment() {
    const std::int32_t i = pos_;
    const char c = text_[i];
    const char next = At(i + 1);
    if ((c == '<' || c == '[') && next == '.')
        return Take(RawKind::CodeClose, i + 2, Code, TokenKind::EndOfInput,
                    MissingCloser::BlockComment);
    if (c == '.' && (next == '>' || next == ']'))
        return Take(RawKind::CodeClose, i + 2, InLine, TokenKind::EndOfInput,
                    MissingCloser::BlockComment);
    if (c == '*' && next == '/') return Take(RawKind::CommentMark, i + 2, Code);
    if (c == '*' || c == '.' || c == '<' || c == '[')
        return Take(RawKind::RemarkText, i + 1, BlockComment);
    return Take(RawKind::RemarkText, RunEnd(i, kBlockCommentChar), BlockComment);
}

} // namespace ozra::front
