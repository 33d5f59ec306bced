// The script scanner: the token filter between the rule table and the parser.
//
// The parser pulls one token at a time with `NextToken`. Behind it the raw
// scanner (raw_scanner.h) splits the template into raw tokens; the filter
// hands template text straight to the tree builder through the sink, drops
// remarks, comments, white space and code-block openers, joins string pieces
// and escapes into string literals, and turns code-block closers into `Semi`.
// Through the sink it also reports a string or block comment that a code
// delimiter cuts short, and a quoted string still open at the end.
//
// Every delivered token's value covers exactly its source characters:
// `Position` is 1-based, a string literal covers both quotes (an empty string
// its two quotes), an escape literal two characters per escape, and a `Semi`
// made from a code-block closer the closer with the spaces and line break it
// swallowed. Consecutive text runs, across lines too, reach the sink as one
// `AddText` call, up to the next code block or remark.
//
// Reserved words arrive as `TokenKind::Reserved`, unknown operator runs
// ("=>", "=-", "...") as `TokenKind::Error`. A raw token longer than
// `RawScanner::MaxTokenLength` stops scanning with `ScanError`
// ("match stack overflow"); exceptions thrown by the sink pass through.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "front/raw_scanner.h"
#include "front/token.h"

namespace ozra::front {

// What the scanner hands to the rest of the front end besides tokens.
class ScannerSink {
  public:
    virtual ~ScannerSink() = default;
    // A run of template text for the tree builder.
    virtual void AddText(std::int32_t position, std::int32_t length, std::string_view text) = 0;
    // A lexical error, such as "Missing '" at the delimiter that cut a string
    // short.
    virtual void OnError(std::int32_t position, std::int32_t length,
                         const std::string& message) = 0;
};

class Scanner {
  public:
    // `text` is not copied and must outlive the scanner; so must `sink`.
    Scanner(std::string_view text, ScannerSink& sink);

    // The next token for the parser; `EndOfInput` at the end, and again on
    // every later call.
    Token NextToken();

  private:
    const RawToken& ScanRaw(bool dropWhiteSpace = false);
    const RawToken& TakeRaw();
    // Reads raw tokens while they are of `kind` and keeps the first other
    // one. Returns the end of the last token of the run.
    std::int32_t SkipRun(RawKind kind, std::int32_t end);
    // After a backslash: joins the escape and those right after it into
    // `escapes_`; false when the input ended before an escape letter.
    bool ScanEscapes();
    static Token Deliver(TokenKind kind, std::int32_t end, std::string_view text,
                         std::int32_t positionAdjustment = 0, std::int32_t lengthAdjustment = 0);
    static std::int32_t Length(const std::string& text) {
        return static_cast<std::int32_t>(text.size());
    }

    std::string_view text_;
    ScannerSink& sink_;
    RawScanner rules_;
    bool hasPushback_ = false;       // the rule table's last token is yet to be used
    std::string escapes_;
    std::int32_t escapesEnd_ = 0;
};

} // namespace ozra::front
