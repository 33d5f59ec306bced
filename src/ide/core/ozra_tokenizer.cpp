// The Ozra code tokenizer.
#include "ide/core/ozra_tokenizer.h"

#include "front/keywords.h"

namespace ozra::ide {

namespace {

bool IsWordChar(unsigned char c) noexcept {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '@' ||
           c == '_';
}

bool IsWordStart(unsigned char c) noexcept {
    return IsWordChar(c) && !(c >= '0' && c <= '9');
}

bool IsBlank(unsigned char c) noexcept {
    return (c >= 1 && c <= 9) || c == 11 || c == 12 || (c >= 14 && c <= 32);
}

OzraToken SingleCharKind(unsigned char c) noexcept {
    switch (c) {
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
        return OzraToken::Bracket;
    case ',':
    case ';':
        return OzraToken::Delimiter;
    default:
        return c >= 127 ? OzraToken::Error : OzraToken::Symbol;
    }
}

class LineScanner {
  public:
    LineScanner(std::string_view line, OzraRange& range) : line_(line), range_(range) {}

    std::vector<Token> Scan() {
        std::vector<Token> tokens;
        while (at_ < line_.size()) {
            const std::size_t start = at_;
            const OzraToken kind = Next();
            tokens.push_back(Token{static_cast<std::int32_t>(start),
                                   static_cast<std::int32_t>(at_ - start),
                                   static_cast<std::uint8_t>(kind)});
        }
        return tokens;
    }

  private:
    unsigned char Peek(std::size_t ahead = 0) const noexcept {
        return at_ + ahead < line_.size() ? static_cast<unsigned char>(line_[at_ + ahead]) : 0;
    }

    OzraToken Next() {
        switch (range_) {
        case OzraRange::DoubleQuoted:
            return StringRest('"');
        case OzraRange::SingleQuoted:
            return StringRest('\'');
        case OzraRange::BlockComment:
            return CommentRest();
        default:
            break;
        }
        range_ = OzraRange::Normal;
        const unsigned char c = Peek();
        if (c == 0) {
            ++at_;
            return OzraToken::Null;
        }
        if (IsBlank(c)) {
            while (at_ < line_.size() && IsBlank(Peek()))
                ++at_;
            return OzraToken::Space;
        }
        if (c == '\n') {
            ++at_;
            return OzraToken::Space;
        }
        if (c == '\r') {
            at_ += Peek(1) == '\n' ? 2 : 1;
            return OzraToken::Space;
        }
        if (c == '"' || c == '\'') {
            ++at_;
            range_ = c == '"' ? OzraRange::DoubleQuoted : OzraRange::SingleQuoted;
            return at_ < line_.size() ? StringRest(static_cast<char>(c)) : OzraToken::String;
        }
        if (c == '/' && Peek(1) == '/') {
            at_ = line_.size();
            range_ = OzraRange::LineComment;
            return OzraToken::Comment;
        }
        if (c == '/' && Peek(1) == '*') {
            at_ += 2;
            range_ = OzraRange::BlockComment;
            return CommentRest();
        }
        if (c >= '0' && c <= '9') {
            while (Peek() >= '0' && Peek() <= '9')
                ++at_;
            return OzraToken::Number;
        }
        if (IsWordStart(c)) {
            const std::size_t start = at_;
            while (at_ < line_.size() && IsWordChar(Peek()))
                ++at_;
            const front::TokenKind kind = front::LookupKeyword(line_.substr(start, at_ - start));
            return kind == front::TokenKind::Ident ? OzraToken::Identifier : OzraToken::Key;
        }
        ++at_;
        return SingleCharKind(c);
    }

    // Up to and including the closing quote, or to the end of the line.
    OzraToken StringRest(char quote) {
        const std::size_t close = line_.find(quote, at_);
        if (close == std::string_view::npos) {
            at_ = line_.size();
        } else {
            at_ = close + 1;
            range_ = OzraRange::Normal;
        }
        return OzraToken::String;
    }

    OzraToken CommentRest() {
        const std::size_t close = line_.find("*/", at_);
        if (close == std::string_view::npos) {
            at_ = line_.size();
        } else {
            at_ = close + 2;
            range_ = OzraRange::Normal;
        }
        return OzraToken::Comment;
    }

    std::string_view line_;
    OzraRange& range_;
    std::size_t at_ = 0;
};

} // namespace

std::vector<Token> TokenizeOzraLine(std::string_view line, OzraRange& range) {
    return LineScanner(line, range).Scan();
}

const std::vector<AttributeStyle>& OzraAttributes() {
    static const std::vector<AttributeStyle> attributes = {
        {"Barcket", {Color(), Rgb{0, 128, 255}}, {true}},
        {"Comment", {Color(), Rgb{128, 128, 128}}, {}},
        {"Delimiter", {Color(), Rgb{255, 0, 255}}, {}},
        {"Error", {Rgb{255, 0, 0}, Rgb{255, 255, 0}}, {true}},
        {"Identifier", {}, {}},
        {"Reserved Word", {}, {true}},
        {"Number", {Color(), Rgb{0, 0, 128}}, {}},
        {"Space", {Rgb{245, 251, 181}, Color()}, {}},
        {"String", {Color(), Rgb{0, 0, 255}}, {}},
        {"Symbol", {Color(), Rgb{255, 0, 255}}, {}},
    };
    return attributes;
}

int OzraAttributeOf(OzraToken kind) noexcept {
    switch (kind) {
    case OzraToken::Bracket:
        return 0;
    case OzraToken::Comment:
        return 1;
    case OzraToken::Delimiter:
        return 2;
    case OzraToken::Error:
        return 3;
    case OzraToken::Identifier:
    case OzraToken::Unknown:
        return 4;
    case OzraToken::Key:
        return 5;
    case OzraToken::Number:
        return 6;
    case OzraToken::Space:
        return 7;
    case OzraToken::String:
        return 8;
    case OzraToken::Symbol:
        return 9;
    case OzraToken::Null:
        return -1;
    }
    return -1;
}

} // namespace ozra::ide
