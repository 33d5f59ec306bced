// The token filter: raw tokens in, parser tokens out.
//
// A value's position is computed from the read index after the last raw
// token that belongs to it, minus the length of its text, plus an adjustment
// for the characters the text leaves out (quotes, backslashes). A token the
// filter reads too far is kept in a one-token pushback.
#include "front/scanner.h"

namespace ozra::front {

Scanner::Scanner(std::string_view text, ScannerSink& sink)
    : text_(text), sink_(sink), rules_(text) {}

RawToken Scanner::ScanRaw() {
    RawToken token = rules_.Scan();
    if (!token.Missing.empty())
        sink_.OnError(token.End, 1, "Missing " + std::string(token.Missing));
    lastScanned_ = token;
    keywordHandedBack_ = false;
    return token;
}

RawToken Scanner::TakeRaw() {
    if (!hasPushback_) return ScanRaw();
    hasPushback_ = false;
    return pushback_;
}

void Scanner::Keep(const RawToken& token) {
    pushback_ = token;
    hasPushback_ = true;
}

std::int32_t Scanner::SkipRun(RawKind kind, std::int32_t end) {
    for (;;) {
        const RawToken next = ScanRaw();
        if (next.Raw != kind) {
            Keep(next);
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

Token Scanner::NextToken(bool recovering) {
    for (;;) {
        // The keyword is handed back once only: a parser still recovering
        // when it meets the keyword again must not get a Semi in front of it
        // forever.
        if (recovering && !hasPushback_ && !keywordHandedBack_ &&
            lastScanned_.Raw == RawKind::ParserToken && IsStatementKeyword(lastScanned_.Kind)) {
            Keep(lastScanned_);
            keywordHandedBack_ = true;
            return Deliver(TokenKind::Semi, lastScanned_.End, lastScanned_.Text);
        }

        const RawToken raw = TakeRaw();
        switch (raw.Raw) {
        case RawKind::ParserToken:
            return Deliver(raw.Kind, raw.End, raw.Text);

        case RawKind::TextRun: {
            // Text runs are contiguous in the source, so the joined text is a
            // slice of it.
            const std::int32_t end = SkipRun(RawKind::TextRun, raw.End);
            sink_.AddText(raw.Start + 1, end - raw.Start, text_.substr(raw.Start, end - raw.Start));
            continue;
        }

        case RawKind::RemarkText:
            SkipRun(RawKind::RemarkText, raw.End);
            continue;

        case RawKind::StringPart: {
            const std::int32_t end = SkipRun(RawKind::StringPart, raw.End);
            // A string left open at the end of the input has no closing
            // quote for its value to cover.
            const bool closed =
                !(pushback_.Raw == RawKind::ParserToken && pushback_.Kind == TokenKind::EndOfInput);
            return Deliver(TokenKind::StrLit, end, text_.substr(raw.Start, end - raw.Start), -1,
                           closed ? 2 : 1);
        }

        case RawKind::CodeClose:
            return Deliver(TokenKind::Semi, raw.End, raw.Text);

        case RawKind::Quote: {
            // An opening quote, or a closing one, whose successor is read to
            // see whether it closes at once.
            const RawToken next = ScanRaw();
            if (next.Raw == RawKind::Quote) return Deliver(TokenKind::StrLit, next.End, {}, -2, 2);
            Keep(next);
            continue;
        }

        case RawKind::Backslash: {
            RawToken letter = ScanRaw();
            if (letter.Raw != RawKind::StringPart) { // a backslash at the end of the input
                Keep(letter);
                continue;
            }
            escapes_.assign(letter.Text);
            std::int32_t end = letter.End;
            for (;;) {
                const RawToken next = ScanRaw();
                if (next.Raw != RawKind::Backslash) {
                    Keep(next);
                    break;
                }
                letter = ScanRaw();
                if (letter.Raw != RawKind::StringPart) {
                    Keep(letter);
                    break;
                }
                escapes_ += letter.Text;
                end = letter.End;
            }
            const auto count = static_cast<std::int32_t>(escapes_.size());
            return Deliver(TokenKind::StrLit, end, escapes_, -count, count);
        }

        case RawKind::CodeOpen:
        case RawKind::CommentMark:
        case RawKind::WhiteSpace:
            continue;
        }
    }
}

} // namespace ozra::front
