// The scanner as the parser and the tree builder see it: for small scripts,
// the exact sequence of tokens, text runs and errors, each with its position
// and length, in the order they happen.
#include "front/scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::front {
namespace {

using namespace std::literals;

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (c < 0x20 || c >= 0x7f) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string Event(std::string_view what, std::int32_t position, std::int32_t length,
                  std::string_view text) {
    return std::string(what) + "@" + std::to_string(position) + "+" + std::to_string(length) + " " +
           Quoted(text);
}

class Recorder : public ScannerSink {
  public:
    void AddText(std::int32_t position, std::int32_t length, std::string_view text) override {
        events.push_back(Event("AddText", position, length, text));
    }
    void OnError(std::int32_t position, std::int32_t length, const std::string& message) override {
        events.push_back(Event("OnError", position, length, message));
    }
    std::vector<std::string> events;
};

// Scans `text` to its end.
std::vector<std::string> ScanAll(std::string_view text) {
    Recorder recorder;
    Scanner scanner(text, recorder);
    for (std::size_t call = 0; call <= 2 * text.size() + 4; ++call) {
        const Token token = scanner.NextToken();
        recorder.events.push_back(
            Event(TokenKindName(token.Kind), token.Position, token.Length, token.Text));
        if (token.Kind == TokenKind::EndOfInput) return recorder.events;
    }
    ADD_FAILURE() << "no end of input";
    return recorder.events;
}

struct ScanCase {
    std::string_view input;
    std::vector<std::string> expected;
};

void ExpectScans(const std::vector<ScanCase>& cases) {
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(Quoted(c.input));
        EXPECT_EQ(ScanAll(c.input), c.expected);
    }
}

TEST(Scanner, TemplateTextAndCodeBlocks) {
    ExpectScans({
        {"", {R"(EndOfInput@1+0 "")"}},
        // A file without code is one text run; the parser sees only the end.
        {"Hello <x> [y]\nWorld\n",
         {R"(AddText@1+20 "Hello <x> [y]\nWorld\n")", R"(EndOfInput@21+0 "")"}},
        {"a  <.x = 1.>b",
         {R"(AddText@1+3 "a  ")", R"(Ident@6+1 "x")", R"(Eq@8+1 "=")", R"(IntLit@10+1 "1")",
          R"(Semi@11+2 ".>")", R"(AddText@13+1 "b")", R"(EndOfInput@14+0 "")"}},
        // "<." after nothing but indentation swallows it, and ".>" the rest
        // of its line.
        {"  <.x = 1.>\nz",
         {R"(Ident@5+1 "x")", R"(Eq@7+1 "=")", R"(IntLit@9+1 "1")", R"(Semi@10+3 ".>\n")",
          R"(AddText@13+1 "z")", R"(EndOfInput@14+0 "")"}},
        {"x\n\t <.y.> \t\r\nz",
         {R"(AddText@1+2 "x\n")", R"(Ident@7+1 "y")", R"(Semi@8+6 ".> \t\r\n")",
          R"(AddText@14+1 "z")", R"(EndOfInput@15+0 "")"}},
        // "[." and ".]" never swallow.
        {"  [.x = 1.]\n",
         {R"(AddText@1+2 "  ")", R"(Ident@5+1 "x")", R"(Eq@7+1 "=")", R"(IntLit@9+1 "1")",
          R"(Semi@10+2 ".]")", R"(AddText@12+1 "\n")", R"(EndOfInput@13+0 "")"}},
        // Indentation after text on the line stays text; so do spaces after
        // a closer that are not followed by the line end.
        {"ab <.x.>  y\n",
         {R"(AddText@1+3 "ab ")", R"(Ident@6+1 "x")", R"(Semi@7+2 ".>")", R"(AddText@9+4 "  y\n")",
          R"(EndOfInput@13+0 "")"}},
        // Either closer closes either opener.
        {"<.x.]y[.z.>w",
         {R"(Ident@3+1 "x")", R"(Semi@4+2 ".]")", R"(AddText@6+1 "y")", R"(Ident@9+1 "z")",
          R"(Semi@10+2 ".>")", R"(AddText@12+1 "w")", R"(EndOfInput@13+0 "")"}},
        {"<.a.>\r\nb\r\n",
         {R"(Ident@3+1 "a")", R"(Semi@4+4 ".>\r\n")", R"(AddText@8+3 "b\r\n")",
          R"(EndOfInput@11+0 "")"}},
        // A lone CR is no line end for a closer to swallow.
        {"<.a.>\rb",
         {R"(Ident@3+1 "a")", R"(Semi@4+2 ".>")", R"(AddText@6+2 "\rb")", R"(EndOfInput@8+0 "")"}},
        // Text runs of several lines merge up to the next code block.
        {"a\n<b\n.> [c\n<.d.>e\nf",
         {R"(AddText@1+11 "a\n<b\n.> [c\n")", R"(Ident@14+1 "d")", R"(Semi@15+2 ".>")",
          R"(AddText@17+3 "e\nf")", R"(EndOfInput@20+0 "")"}},
        // An unclosed code block simply ends with the input.
        {"t<.x", {R"(AddText@1+1 "t")", R"(Ident@4+1 "x")", R"(OnError@4+1 "Missing .>")", R"(EndOfInput@5+0 "")"}},
    });
}

TEST(Scanner, RemarksAndComments) {
    ExpectScans({
        {"a<.. note ..>b", {R"(AddText@1+1 "a")", R"(AddText@14+1 "b")", R"(EndOfInput@15+0 "")"}},
        // Block remarks swallow indentation and their line break, and only
        // "..>" closes them.
        {"  <.. a.b .. .> ..] c ..>  \nz", {R"(AddText@29+1 "z")", R"(EndOfInput@30+0 "")"}},
        // Inline remarks close only at "..]" and never swallow.
        {"x[.. y .> ..>..]\nz",
         {R"(AddText@1+1 "x")", R"(AddText@17+2 "\nz")", R"(EndOfInput@19+0 "")"}},
        {"[..r..]\n", {R"(AddText@8+1 "\n")", R"(EndOfInput@9+0 "")"}},
        {"a<.. b", {R"(AddText@1+1 "a")", R"(OnError@6+1 "Missing ..>")", R"(EndOfInput@7+0 "")"}},
        // A code delimiter ends a line comment without complaint.
        {"<. // note .> text",
         {R"(Semi@12+2 ".>")", R"(AddText@14+5 " text")", R"(EndOfInput@19+0 "")"}},
        {"<.a // c. <\nb.>",
         {R"(Ident@3+1 "a")", R"(Ident@13+1 "b")", R"(Semi@14+2 ".>")", R"(EndOfInput@16+0 "")"}},
        {"<.a // c <.b//.]z",
         {R"(Ident@3+1 "a")", R"(Semi@10+2 "<.")", R"(Ident@12+1 "b")", R"(Semi@15+2 ".]")",
          R"(AddText@17+1 "z")", R"(EndOfInput@18+0 "")"}},
        {"<.a /* x * y / .z\n **/ b.>",
         {R"(Ident@3+1 "a")", R"(Ident@24+1 "b")", R"(Semi@25+2 ".>")", R"(EndOfInput@27+0 "")"}},
        // ... but ends a block comment with an error at its last character.
        {"<.a /* x .>y",
         {R"(Ident@3+1 "a")", R"(OnError@11+1 "Missing */")", R"(Semi@10+2 ".>")",
          R"(AddText@12+1 "y")", R"(EndOfInput@13+0 "")"}},
        {"<./* a [.b.>",
         {R"(OnError@9+1 "Missing */")", R"(Semi@8+2 "[.")", R"(Ident@10+1 "b")",
          R"(Semi@11+2 ".>")", R"(EndOfInput@13+0 "")"}},
        {"<.a/* b", {R"(Ident@3+1 "a")", R"(OnError@7+1 "Missing */")", R"(EndOfInput@8+0 "")"}},
        // "*/" outside a comment is two operators.
        {"<.a*/b",
         {R"(Ident@3+1 "a")", R"(MulOp@4+1 "*")", R"(Slash@5+1 "/")", R"(Ident@6+1 "b")",
          R"(OnError@6+1 "Missing .>")", R"(EndOfInput@7+0 "")"}},
    });
}

TEST(Scanner, Strings) {
    ExpectScans({
        {"<.'abc'.>", {R"(StrLit@3+5 "abc")", R"(Semi@8+2 ".>")", R"(EndOfInput@10+0 "")"}},
        {"<.\"a'b\" 'c\"d'",
         {R"(StrLit@3+5 "a'b")", R"(StrLit@9+5 "c\"d")", R"(OnError@13+1 "Missing .>")", R"(EndOfInput@14+0 "")"}},
        {"<.''.>", {R"(StrLit@3+2 "")", R"(Semi@5+2 ".>")", R"(EndOfInput@7+0 "")"}},
        {"<.\"\"", {R"(StrLit@3+2 "")", R"(OnError@4+1 "Missing .>")", R"(EndOfInput@5+0 "")"}},
        // Doubling a quote does not escape it: three literals.
        {"<. x = 'it''s' .>",
         {R"(Ident@4+1 "x")", R"(Eq@6+1 "=")", R"(StrLit@8+4 "it")", R"(StrLit@11+2 "")",
          R"(StrLit@12+3 "s")", R"(Semi@16+2 ".>")", R"(EndOfInput@18+0 "")"}},
        // Content is literal: line breaks, lone delimiter characters,
        // backslashes, "#" and high bytes.
        {"<.'a\n.<[b\\n#\xE9' \"//\"",
         {R"(StrLit@3+12 "a\n.<[b\\n#\xE9")", R"(StrLit@16+4 "//")", R"(OnError@19+1 "Missing .>")", R"(EndOfInput@20+0 "")"}},
        // A code delimiter cuts a string short, with an error at its last
        // character.
        {"<.'ab.>c",
         {R"(OnError@7+1 "Missing '")", R"(StrLit@3+4 "ab")", R"(Semi@6+2 ".>")",
          R"(AddText@8+1 "c")", R"(EndOfInput@9+0 "")"}},
        {"<.\"ab<.x.]",
         {R"(OnError@7+1 "Missing \"")", R"(StrLit@3+4 "ab")", R"(Semi@6+2 "<.")",
          R"(Ident@8+1 "x")", R"(Semi@9+2 ".]")", R"(EndOfInput@11+0 "")"}},
        {"<.'[.", {R"(OnError@5+1 "Missing '")", R"(Semi@4+2 "[.")", R"(OnError@5+1 "Missing .>")", R"(EndOfInput@6+0 "")"}},
        // Left open at the end of the input: the error stands on the last
        // character, and the literal covers no more than the text.
        {"<.x='ab",
         {R"(Ident@3+1 "x")", R"(Eq@4+1 "=")", R"(OnError@7+1 "Missing '")", R"(StrLit@5+3 "ab")",
          R"(EndOfInput@8+0 "")"}},
        {"<.\"", {R"(OnError@3+1 "Missing \"")", R"(EndOfInput@4+0 "")"}},
    });
}

TEST(Scanner, Escapes) {
    ExpectScans({
        {"<.\\r\\n.>", {R"(StrLit@3+4 "\r\n")", R"(Semi@7+2 ".>")", R"(EndOfInput@9+0 "")"}},
        {"<.\\t \\n'a'",
         {R"(StrLit@3+2 "\t")", R"(StrLit@6+2 "\n")", R"(StrLit@8+3 "a")",
          R"(OnError@10+1 "Missing .>")", R"(EndOfInput@11+0 "")"}},
        // Any other letter is skipped, and so is everything up to the next
        // n, r or t.
        {"<.\\q x = 1 n.>", {R"(StrLit@11+2 "\n")", R"(Semi@13+2 ".>")", R"(EndOfInput@15+0 "")"}},
        {"<.a\\", {R"(Ident@3+1 "a")", R"(OnError@4+1 "Missing .>")", R"(EndOfInput@5+0 "")"}},
        {"<.\\n\\", {R"(OnError@5+1 "Missing .>")", R"(StrLit@3+2 "\n")", R"(EndOfInput@6+0 "")"}},
        {"<.\\xyz", {R"(OnError@6+1 "Missing .>")", R"(EndOfInput@7+0 "")"}},
    });
}

TEST(Scanner, CodeTokens) {
    ExpectScans({
        {"<.1..5 1.5 .5 0x1F $1f 0X 12ab 1.>",
         {R"(IntLit@3+1 "1")", R"(Colon@4+2 "..")", R"(IntLit@6+1 "5")", R"(FloatLit@8+3 "1.5")",
          R"(Dot@12+1 ".")", R"(IntLit@13+1 "5")", R"(HexLit@15+4 "0x1F")", R"(HexLit@20+3 "$1f")",
          R"(IntLit@24+1 "0")", R"(Ident@25+1 "X")", R"(IntLit@27+2 "12")", R"(Ident@29+2 "ab")",
          R"(IntLit@32+1 "1")", R"(Semi@33+2 ".>")", R"(EndOfInput@35+0 "")"}},
        {"<.obj.name obj . name a.b.c.>",
         {R"(Dotted@3+8 "obj.name")", R"(Ident@12+3 "obj")", R"(Dot@16+1 ".")",
          R"(Ident@18+4 "name")", R"(Dotted@23+5 "a.b.c")", R"(Semi@28+2 ".>")",
          R"(EndOfInput@30+0 "")"}},
        {"<.a.1 a..b @x_1 if.x",
         {R"(Ident@3+1 "a")", R"(Dot@4+1 ".")", R"(IntLit@5+1 "1")", R"(Ident@7+1 "a")",
          R"(Colon@8+2 "..")", R"(Ident@10+1 "b")", R"(Ident@12+4 "@x_1")", R"(Dotted@17+4 "if.x")",
          R"(OnError@20+1 "Missing .>")", R"(EndOfInput@21+0 "")"}},
        // Keywords are case-sensitive; reserved words are never identifiers.
        {"<.if If TRUE true div mod return",
         {R"(If@3+2 "if")", R"(Ident@6+2 "If")", R"(Ident@9+4 "TRUE")", R"(Bool@14+4 "true")",
          R"(DivMod@19+3 "div")", R"(DivMod@23+3 "mod")", R"(Reserved@27+6 "return")",
          R"(OnError@32+1 "Missing .>")", R"(EndOfInput@33+0 "")"}},
        // A run of operator characters is one token, an error when it spells
        // no operator.
        {"<.x=-1 x = -1 a=>b c...d e<>f g/%h i:=j k/=l",
         {R"(Ident@3+1 "x")",   R"(Error@4+2 "=-")",    R"(IntLit@6+1 "1")",
          R"(Ident@8+1 "x")",   R"(Eq@10+1 "=")",       R"(Minus@12+1 "-")",
          R"(IntLit@13+1 "1")", R"(Ident@15+1 "a")",    R"(Error@16+2 "=>")",
          R"(Ident@18+1 "b")",  R"(Ident@20+1 "c")",    R"(Error@21+3 "...")",
          R"(Ident@24+1 "d")",  R"(Ident@26+1 "e")",    R"(Ne@27+2 "<>")",
          R"(Ident@29+1 "f")",  R"(Ident@31+1 "g")",    R"(MulOp@32+2 "/%")",
          R"(Ident@34+1 "h")",  R"(Ident@36+1 "i")",    R"(ColonEq@37+2 ":=")",
          R"(Ident@39+1 "j")",  R"(Ident@41+1 "k")",    R"(AssignOp@42+2 "/=")",
          R"(Ident@44+1 "l")",  R"(OnError@44+1 "Missing .>")", R"(EndOfInput@45+0 "")"}},
        {"<.(),;[]{}:??**.>",
         {R"(LParen@3+1 "(")", R"~(RParen@4+1 ")")~", R"(Comma@5+1 ",")", R"(Semi@6+1 ";")",
          R"(LBracket@7+1 "[")", R"(RBracket@8+1 "]")", R"(LBrace@9+1 "{")", R"(RBrace@10+1 "}")",
          R"(Colon@11+1 ":")", R"(Error@12+4 "??**")", R"(Semi@16+2 ".>")",
          R"(EndOfInput@18+0 "")"}},
        // In code "#", a "$" without hex digits, "`" and bytes from 128 up
        // match nothing and are skipped; in text they are kept.
        {"\xE9#<.a#b\xE9"
         "c $ `.>#\xFF",
         {R"(AddText@1+2 "\xE9#")", R"(Ident@5+1 "a")", R"(Ident@7+1 "b")", R"(Ident@9+1 "c")",
          R"(Semi@14+2 ".>")", R"(AddText@16+2 "#\xFF")", R"(EndOfInput@18+0 "")"}},
    });
}

TEST(Scanner, NulEndsTheInput) {
    ExpectScans({
        {"ab\0cd"sv, {R"(AddText@1+2 "ab")", R"(EndOfInput@3+0 "")"}},
        {"a<.b\0c.>d"sv, {R"(AddText@1+1 "a")", R"(Ident@4+1 "b")", R"(OnError@4+1 "Missing .>")", R"(EndOfInput@5+0 "")"}},
        {"<.'a\0b'"sv, {R"(OnError@4+1 "Missing '")", R"(StrLit@3+2 "a")", R"(EndOfInput@5+0 "")"}},
    });
}

TEST(Scanner, OverlongRawTokenStopsScanning) {
    constexpr std::size_t kMax = RawScanner::MaxTokenLength;
    struct OverlongCase {
        std::string name;
        std::string input;
        bool fails;
    };
    const std::string longest(kMax, 'a');
    const std::vector<OverlongCase> cases = {
        {"text line at the limit", longest, false},
        {"text line", longest + "a", true},
        {"identifier", "<." + longest + "a", true},
        {"string piece", "<.'" + longest + "a'", true},
        {"white space", "<." + std::string(kMax + 1, ' '), true},
        {"white space after a string", "<.'a'" + std::string(kMax + 1, '\n'), true},
        {"closer with trailing spaces", "<.x.>" + std::string(kMax - 2, ' ') + "\n", true},
        {"remark", "<.." + longest + "a..>", true},
        // Only single raw tokens are limited: many short lines of text make
        // one text run of any size.
        {"many lines",
         [&] {
             std::string lines;
             while (lines.size() <= 2 * kMax)
                 lines += std::string(99, 'a') + "\n";
             return lines;
         }(),
         false},
    };
    for (const OverlongCase& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder recorder;
        Scanner scanner(c.input, recorder);
        auto scanToEnd = [&] {
            while (scanner.NextToken().Kind != TokenKind::EndOfInput) {
            }
        };
        if (c.fails) {
            try {
                scanToEnd();
                ADD_FAILURE() << "no error";
            } catch (const ScanError& error) {
                EXPECT_STREQ(error.what(), "match stack overflow");
            }
        } else {
            EXPECT_NO_THROW(scanToEnd());
        }
    }
}

TEST(Scanner, ErrorsFromTheSinkPassThrough) {
    struct Throwing : Recorder {
        void OnError(std::int32_t, std::int32_t, const std::string& message) override {
            throw std::runtime_error(message);
        }
    } sink;
    Scanner scanner("<.'abc.>", sink);
    EXPECT_THROW(
        {
            while (scanner.NextToken().Kind != TokenKind::EndOfInput) {
            }
        },
        std::runtime_error);
}

TEST(Scanner, EndOfInputRepeats) {
    Recorder recorder;
    Scanner scanner("<.x.>abc", recorder);
    EXPECT_EQ(scanner.NextToken().Kind, TokenKind::Ident);
    EXPECT_EQ(scanner.NextToken().Kind, TokenKind::Semi);
    EXPECT_EQ(scanner.NextToken().Kind, TokenKind::EndOfInput);
    EXPECT_EQ(scanner.NextToken().Kind, TokenKind::EndOfInput);
}

// A quoted literal covers its opening quote, its text and the closing quote
// unless the input ended first. An empty one covers two characters: its
// quotes, or a closing quote and the opening quote after it.
bool IsQuotedLiteral(const Token& token, std::string_view covered) {
    if (token.Text.empty()) return token.Length == 2;
    return (covered[0] == '\'' || covered[0] == '"') &&
           covered.substr(1, token.Text.size()) == token.Text;
}

// An escape literal covers two characters per escape.
bool IsEscapeLiteral(const Token& token) {
    return token.Text.find_first_not_of("\n\r\t") == std::string::npos &&
           token.Length == 2 * static_cast<std::int32_t>(token.Text.size());
}

// Random scripts from the characters that matter to the rules: scanning
// always ends, and every value covers its own source characters and nothing
// beyond the input.
TEST(Scanner, RandomScriptsStayWithinTheirText) {
    constexpr std::string_view kAlphabet = "<.>[]'\"\\/*\n\r\t  ntifa1$#=-:;?_\xE9\0"sv;
    std::mt19937 random(20261210);
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text)
            c = kAlphabet[random() % kAlphabet.size()];
        const auto end = static_cast<std::int32_t>(std::min(text.find('\0'), text.size()));
        SCOPED_TRACE(Quoted(text));

        struct Checker : ScannerSink {
            void AddText(std::int32_t position, std::int32_t length,
                         std::string_view run) override {
                EXPECT_GE(position, 1);
                EXPECT_LE(position + length - 1, end);
                EXPECT_EQ(run, source.substr(position - 1, length));
            }
            void OnError(std::int32_t position, std::int32_t length, const std::string&) override {
                EXPECT_GE(position, 1);
                EXPECT_LE(position, end);
                EXPECT_EQ(length, 1);
            }
            std::string_view source;
            std::int32_t end = 0;
        } checker;
        checker.source = text;
        checker.end = end;

        Scanner scanner(text, checker);
        std::int32_t lastPosition = 0;
        for (std::size_t call = 0;; ++call) {
            ASSERT_LE(call, 2 * text.size() + 2);
            const Token token = scanner.NextToken();
            if (token.Kind == TokenKind::EndOfInput) {
                EXPECT_EQ(token.Position, end + 1);
                break;
            }
            EXPECT_GE(token.Position, std::max(lastPosition, 1));
            EXPECT_LE(token.Position + token.Length - 1, end);
            lastPosition = token.Position;
            const std::string_view covered =
                std::string_view(text).substr(token.Position - 1, token.Length);
            if (token.Kind == TokenKind::StrLit)
                EXPECT_TRUE(IsQuotedLiteral(token, covered) || IsEscapeLiteral(token));
            else
                EXPECT_EQ(token.Text, covered);
        }
    }
}

} // namespace
} // namespace ozra::front
