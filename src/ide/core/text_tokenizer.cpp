// The text highlighters' tokenizer: one scanner per family of languages,
// driven by the language's row.
//
// Range states carried between lines: for code, 1 + the index of the block
// comment left open; for markup, 1 inside a comment, 2 inside a tag, 3 and
// 4 inside a double- or single-quoted attribute value. INI lines stand
// alone.
#include "ide/core/text_languages.h"

#include "value/names.h"

namespace ozra::ide {

namespace {

bool IsLetter(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(unsigned char c) noexcept {
    return c >= '0' && c <= '9';
}
bool IsBlank(unsigned char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

class Scanner {
  public:
    Scanner(const TextLanguage& language, std::string_view line, std::uint8_t& range)
        : language_(language), line_(line), range_(range) {}

    std::vector<Token> Scan() {
        while (at_ < line_.size()) {
            const std::size_t start = at_;
            const TextToken kind = Next();
            if (at_ == start) ++at_;
            Emit(start, kind);
        }
        if (language_.Family == LanguageFamily::Ini) range_ = 0;
        return std::move(tokens_);
    }

  private:
    unsigned char Peek(std::size_t ahead = 0) const noexcept {
        return at_ + ahead < line_.size() ? static_cast<unsigned char>(line_[at_ + ahead]) : 0;
    }
    bool LooksAt(std::string_view text) const noexcept {
        return line_.substr(at_).starts_with(text);
    }
    bool IsWordChar(unsigned char c) const noexcept {
        return IsLetter(c) || IsDigit(c) || c == '_' ||
               (c && language_.WordChars.find(char(c)) != std::string_view::npos);
    }

    void Emit(std::size_t start, TextToken kind) {
        // Neighbours of one kind are one token.
        if (!tokens_.empty() && tokens_.back().Kind == static_cast<std::uint8_t>(kind) &&
            tokens_.back().Start + tokens_.back().Length == static_cast<std::int32_t>(start) &&
            kind != TextToken::String) {
            tokens_.back().Length = static_cast<std::int32_t>(at_) - tokens_.back().Start;
            return;
        }
        tokens_.push_back(Token{static_cast<std::int32_t>(start),
                                static_cast<std::int32_t>(at_ - start),
                                static_cast<std::uint8_t>(kind)});
    }

    TextToken Next() {
        switch (language_.Family) {
        case LanguageFamily::PlainText:
            return PlainNext();
        case LanguageFamily::Code:
            return CodeNext();
        case LanguageFamily::Markup:
            return MarkupNext();
        case LanguageFamily::Ini:
            return IniNext();
        }
        return TextToken::Symbol;
    }

    TextToken Blanks() {
        while (at_ < line_.size() && IsBlank(Peek()))
            ++at_;
        return TextToken::Space;
    }

    // Moves past `close`, or to the end of the line; true when it was found.
    bool SkipPast(std::string_view close) {
        const std::size_t found = line_.find(close, at_);
        at_ = found == std::string_view::npos ? line_.size() : found + close.size();
        return found != std::string_view::npos;
    }

    TextToken PlainNext() {
        const unsigned char c = Peek();
        if (c <= ' ') {
            while (at_ < line_.size() && Peek() <= ' ')
                ++at_;
            return TextToken::Space;
        }
        if (IsLetter(c) || c == '_') {
            while (IsLetter(Peek()) || Peek() == '_')
                ++at_;
            return TextToken::Identifier;
        }
        ++at_;
        return TextToken::Identifier;
    }

    bool LineCommentStarts() const {
        for (std::string_view start : language_.LineComments) {
            if (IsLetter(static_cast<unsigned char>(start[0]))) {
                // A word such as REM: whole, in any case.
                if (at_ > 0 && IsWordChar(static_cast<unsigned char>(line_[at_ - 1]))) continue;
                const std::string_view word = line_.substr(at_, start.size());
                if (value::NamesEqual(word, start) && !IsWordChar(Peek(start.size()))) return true;
            } else if (LooksAt(start)) {
                return true;
            }
        }
        return false;
    }

    bool DirectiveStarts() const {
        if (!language_.Directive || Peek() != static_cast<unsigned char>(language_.Directive))
            return false;
        for (std::size_t before = 0; before < at_; ++before)
            if (!IsBlank(static_cast<unsigned char>(line_[before]))) return false;
        return true;
    }

    TextToken CodeNext() {
        if (range_ > 0 && range_ <= language_.BlockComments.size()) {
            if (SkipPast(language_.BlockComments[range_ - 1].Close)) range_ = 0;
            return TextToken::Comment;
        }
        range_ = 0;
        const unsigned char c = Peek();
        if (IsBlank(c)) return Blanks();
        for (std::size_t index = 0; index < language_.BlockComments.size(); ++index) {
            const BlockComment& comment = language_.BlockComments[index];
            if (!LooksAt(comment.Open)) continue;
            at_ += comment.Open.size();
            if (!SkipPast(comment.Close)) range_ = static_cast<std::uint8_t>(index + 1);
            return TextToken::Comment;
        }
        if (LineCommentStarts()) {
            at_ = line_.size();
            return TextToken::Comment;
        }
        if (DirectiveStarts()) {
            at_ = line_.size();
            return TextToken::Preprocessor;
        }
        if (c && language_.Quotes.find(char(c)) != std::string_view::npos) {
            ++at_;
            while (at_ < line_.size()) {
                const unsigned char next = Peek();
                if (language_.BackslashEscapes && next == '\\') {
                    at_ = std::min(at_ + 2, line_.size());
                    continue;
                }
                ++at_;
                if (next == c) break;
            }
            return TextToken::String;
        }
        if (IsDigit(c)) {
            while (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '.' || Peek() == '_')
                ++at_;
            return TextToken::Number;
        }
        if (IsWordChar(c)) {
            const std::size_t start = at_;
            while (at_ < line_.size() && IsWordChar(Peek()))
                ++at_;
            return language_.IsKeyword(line_.substr(start, at_ - start)) ? TextToken::Key
                                                                         : TextToken::Identifier;
        }
        ++at_;
        return TextToken::Symbol;
    }

    TextToken MarkupNext() {
        const unsigned char c = Peek();
        switch (range_) {
        case 1:
            if (SkipPast("-->")) range_ = 0;
            return TextToken::Comment;
        case 3:
        case 4:
            if (SkipPast(range_ == 3 ? "\"" : "'")) range_ = 2;
            return TextToken::String;
        case 2:
            if (IsBlank(c)) return Blanks();
            if (c == '>' || ((c == '/' || c == '?') && Peek(1) == '>')) {
                at_ += c == '>' ? 1 : 2;
                range_ = 0;
                return TextToken::Tag;
            }
            if (c == '"' || c == '\'') {
                ++at_;
                range_ = c == '"' ? 3 : 4;
                if (SkipPast(c == '"' ? "\"" : "'")) range_ = 2;
                return TextToken::String;
            }
            if (c == '=') {
                ++at_;
                return TextToken::Symbol;
            }
            while (at_ < line_.size() && !IsBlank(Peek()) && Peek() != '=' && Peek() != '>' &&
                   !(Peek() == '/' && Peek(1) == '>'))
                ++at_;
            return TextToken::AttributeName;
        default:
            break;
        }
        range_ = 0;
        if (LooksAt("<!--")) {
            at_ += 4;
            if (!SkipPast("-->")) range_ = 1;
            return TextToken::Comment;
        }
        if (c == '<') {
            ++at_;
            if (Peek() == '/' || Peek() == '?' || Peek() == '!') ++at_;
            while (at_ < line_.size() && !IsBlank(Peek()) && Peek() != '>' && Peek() != '/')
                ++at_;
            range_ = 2;
            return TextToken::Tag;
        }
        if (c == '&') {
            const std::size_t end = line_.find(';', at_);
            if (end != std::string_view::npos && end - at_ <= 32) {
                at_ = end + 1;
                return TextToken::Entity;
            }
            ++at_;
            return TextToken::Identifier;
        }
        if (IsBlank(c)) return Blanks();
        while (at_ < line_.size() && Peek() != '<' && Peek() != '&' && !IsBlank(Peek()))
            ++at_;
        return TextToken::Identifier;
    }

    TextToken IniNext() {
        const unsigned char c = Peek();
        if (IsBlank(c)) return Blanks();
        const bool lineStart = line_.find_first_not_of(" \t") == at_;
        if (lineStart && (c == ';' || c == '#')) {
            at_ = line_.size();
            return TextToken::Comment;
        }
        if (lineStart && c == '[') {
            SkipPast("]");
            return TextToken::Section;
        }
        if (seenEquals_) {
            at_ = line_.size();
            return TextToken::String;
        }
        if (c == '=') {
            ++at_;
            seenEquals_ = true;
            return TextToken::Symbol;
        }
        while (at_ < line_.size() && Peek() != '=')
            ++at_;
        return TextToken::Key;
    }

    const TextLanguage& language_;
    std::string_view line_;
    std::uint8_t& range_;
    std::size_t at_ = 0;
    bool seenEquals_ = false;
    std::vector<Token> tokens_;
};

} // namespace

std::vector<Token> TokenizeTextLine(const TextLanguage& language, std::string_view line,
                                    std::uint8_t& range) {
    return Scanner(language, line, range).Scan();
}

} // namespace ozra::ide
