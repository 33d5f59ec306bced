// The token filter: raw tokens in, parser tokens out.
//
// A value's position is computed from the read index after the last raw
// token that belongs to it, minus the length of its text, plus an adjustment
// for the characters the text leaves out (quotes, backslashes).
//
// A token the filter reads too far is kept in a one-token pushback. That
// token is always the most recent one the rule table returned, so the
// pushback is a flag over the rule table's last token, and raw tokens are
// never copied.
#include "front/scanner.h"

namespace ozra::front {

Scanner::Scanner(std::string_view text, ScannerSink& sink)
    : text_(text), sink_(sink), rules_(text) {}

const RawToken& Scanner::ScanRaw(bool dropWhiteSpace) {
    const RawToken& token = rules_.Scan(dropWhiteSpace);
    if (token.Missing != MissingCloser::None)
        sink_.OnError(token.End, 1, MissingMessage(token.Missing));
    return token;
}

const RawToken& Scanner::TakeRaw() {
    // White space in code is dropped here, where the filter would drop it
    // anyway; a token that ends a run, or follows a quote or an escape, must
    // not skip it.
    if (!hasPushback_) return ScanRaw(true);
    hasPushback_ = false;
    return rules_.Last();
}

std::int32_t Scanner::SkipRun(RawKind kind, std::int32_t end) {
    for (;;) {
        const RawToken& next = ScanRaw();
        if (next.Raw != kind) {
            hasPushback_ = true;
            return end;
        }
        end = next.End;
    }
}

Token Scanner::Deliver(TokenKind kind, std::int32_t end, std::string_view text,
                       std::int32_t positionAdjustment, std::int32_t lengthAdjustment) {
    const auto length = static_cast<std::int32_t>(text.size());
    return Token{kind, end + 1 - length + positionAdjustment, length + lengthAdjustment,
                 std::string(text)};
}

Token Scanner::NextToken() {
    for (;;) {
        // `raw` is the rule table's token, which the next scan replaces.
        const RawToken& raw = TakeRaw();
        const std::int32_t start = raw.Start;
        switch (raw.Raw) {
        case RawKind::ParserToken:
            return Deliver(raw.Kind, raw.End, rules_.Text(raw));

        case RawKind::TextRun: {
            // Text runs are contiguous in the source, so the joined text is a
            // slice of it.
            const std::int32_t end = SkipRun(RawKind::TextRun, raw.End);
            sink_.AddText(start + 1, end - start, text_.substr(start, end - start));
            continue;
        }

        case RawKind::RemarkText:
            SkipRun(RawKind::RemarkText, raw.End);
            continue;

        case RawKind::StringPart: {
            const std::int32_t end = SkipRun(RawKind::StringPart, raw.End);
            // A string left open at the end of the input has no closing
            // quote for its value to cover.
            const bool closed = !rules_.ReachedEnd();
            return Deliver(TokenKind::StrLit, end, text_.substr(start, end - start), -1,
                           closed ? 2 : 1);
        }

        case RawKind::CodeClose:
            return Deliver(TokenKind::Semi, raw.End, rules_.Text(raw));

        case RawKind::Quote: {
            // An opening quote, or a closing one, whose successor is read to
            // see whether it closes at once.
            const RawToken& next = ScanRaw();
            if (next.Raw == RawKind::Quote) return Deliver(TokenKind::StrLit, next.End, {}, -2, 2);
            hasPushback_ = true;
            continue;
        }

        case RawKind::Backslash:
            if (ScanEscapes())
                return Deliver(TokenKind::StrLit, escapesEnd_, escapes_, -Length(escapes_),
                               Length(escapes_));
            continue;

        case RawKind::CodeOpen:
        case RawKind::CommentMark:
        case RawKind::WhiteSpace:
            continue;
        }
    }
}

bool Scanner::ScanEscapes() {
    escapes_.clear();
    for (;;) {
        const RawToken& letter = ScanRaw();
        if (letter.Raw != RawKind::StringPart) break; // a backslash at the end of the input
        escapes_ += EscapedCharacter(text_[letter.Start]);
        escapesEnd_ = letter.End;
        if (ScanRaw().Raw != RawKind::Backslash) break;
    }
    hasPushback_ = true;
    return !escapes_.empty();
}

} // namespace ozra::front
