// The highlighters' tokenizers: Ozra code line by line, the template
// splitter, the text highlighters, and choosing one by name or file name.
#include "ide/core/template_highlighter.h"
#include "libs/xml/xml_document.h"
#include "value/names.h"

#include <gtest/gtest.h>

namespace ozra::ide {
namespace {

constexpr std::string_view OzraNames[] = {"bracket", "comment", "delimiter", "error",
                                          "ident",   "key",     "null",      "number",
                                          "space",   "string",  "symbol",    "unknown"};

// Every line's tokens as «kind[text]», lines separated by " | ".
std::string OzraTokens(const std::vector<std::string_view>& lines,
                       OzraRange range = OzraRange::Normal) {
    std::string text;
    for (std::string_view line : lines) {
        if (!text.empty()) text += " | ";
        for (const Token& token : TokenizeOzraLine(line, range))
            text += std::string(OzraNames[token.Kind]) + "[" +
                    std::string(line.substr(token.Start, token.Length)) + "]";
    }
    return text;
}

TEST(OzraTokenizerTest, LinesAndTheRangesBetweenThem) {
    const struct {
        std::vector<std::string_view> Lines;
        std::string_view Tokens;
    } cases[] = {
        {{"x = 'abc", "def' y"},
         "ident[x]space[ ]symbol[=]space[ ]string['abc] | string[def']space[ ]ident[y]"},
        {{"s = \"a", "", "b\""}, "ident[s]space[ ]symbol[=]space[ ]string[\"a] |  | string[b\"]"},
        {{"a /* b", "c */ d"}, "ident[a]space[ ]comment[/* b] | comment[c */]space[ ]ident[d]"},
        {{"/* a */ b"}, "comment[/* a */]space[ ]ident[b]"},
        {{"x // y", "z"}, "ident[x]space[ ]comment[// y] | ident[z]"},
        {{"If if elsecase downto"},
         "ident[If]space[ ]key[if]space[ ]key[elsecase]space[ ]key[downto]"},
        {{"$FF"}, "symbol[$]ident[FF]"},
        {{"1.5"}, "number[1]symbol[.]number[5]"},
        {{"\xC8"}, "error[\xC8]"},
        {{"f(a, b);"},
         "ident[f]bracket[(]ident[a]delimiter[,]space[ ]ident[b]bracket[)]delimiter[;]"},
        {{"@x_1 9x"}, "ident[@x_1]space[ ]number[9]ident[x]"},
        {{"'"}, "string[']"},
        {{"'", "x"}, "string['] | string[x]"},
        {{"a\r\nb"}, "ident[a]space[\r\n]ident[b]"},
        {{"a / b"}, "ident[a]space[ ]symbol[/]space[ ]ident[b]"},
    };
    for (const auto& each : cases)
        EXPECT_EQ(OzraTokens(each.Lines), each.Tokens) << each.Lines[0];
}

TEST(OzraTokenizerTest, TheRangeEachLineLeaves) {
    const struct {
        std::string_view Line;
        OzraRange Before;
        OzraRange After;
    } cases[] = {
        {"x = \"open", OzraRange::Normal, OzraRange::DoubleQuoted},
        {"closed\" y", OzraRange::DoubleQuoted, OzraRange::Normal},
        {"a // b", OzraRange::Normal, OzraRange::LineComment},
        {"next", OzraRange::LineComment, OzraRange::Normal},
        {"/* still", OzraRange::Normal, OzraRange::BlockComment},
        {"still", OzraRange::BlockComment, OzraRange::BlockComment},
        {"", OzraRange::SingleQuoted, OzraRange::SingleQuoted},
    };
    for (const auto& each : cases) {
        OzraRange range = each.Before;
        TokenizeOzraLine(each.Line, range);
        EXPECT_EQ(range, each.After) << each.Line;
    }
}

TEST(OzraTokenizerTest, TokenKindsMapOntoTheAttributes) {
    EXPECT_EQ(OzraAttributes()[OzraAttributeOf(OzraToken::Key)].Name, "Reserved Word");
    EXPECT_EQ(OzraAttributes()[OzraAttributeOf(OzraToken::Unknown)].Name, "Identifier");
    EXPECT_EQ(OzraAttributes()[OzraAttributeOf(OzraToken::Bracket)].Name, "Barcket");
    EXPECT_EQ(OzraAttributeOf(OzraToken::Null), -1);
}

std::string TemplateTokens(const std::vector<std::string_view>& lines,
                           std::string_view language = "[None]") {
    static constexpr std::string_view parts[] = {"text", "cmark", "comment", "mark", "code"};
    const TextLanguage& text = TextLanguages()[HighlighterNamed(language)];
    TemplateState state;
    std::string out;
    for (std::string_view line : lines) {
        if (!out.empty()) out += " | ";
        TemplateState packed = TemplateState::Unpack(state.Pack());
        EXPECT_EQ(packed, state);
        for (const TemplateToken& token : HighlightTemplateLine(line, packed, text)) {
            out += std::string(parts[static_cast<int>(token.Part)]) + "[" +
                   std::string(line.substr(token.Start, token.Length)) + "]";
        }
        state = packed;
    }
    return out;
}

TEST(TemplateHighlighterTest, SplitsTextCommentsAndCode) {
    const struct {
        std::vector<std::string_view> Lines;
        std::string_view Tokens;
    } cases[] = {
        {{"class [.= t.Name.]{}"},
         "text[class]text[ ]mark[[.]code[=]code[ ]code[t]code[.]code[Name]mark[.]]text[{}]"},
        {{"a<.. note ..>b"}, "text[a]cmark[<..]comment[ note ]cmark[..>]text[b]"},
        {{"[.. x", "y ..]z"}, "cmark[[..]comment[ x] | comment[y ]cmark[..]]text[z]"},
        {{"<.if x", "end if.>"},
         "mark[<.]code[if]code[ ]code[x] | code[end]code[ ]code[if]mark[.>]"},
        // Either closing form ends code.
        {{"<.x.]y"}, "mark[<.]code[x]mark[.]]text[y]"},
        {{"<.s = 'a", "b'.>"}, "mark[<.]code[s]code[ ]code[=]code[ ]code['a] | code[b']mark[.>]"},
        {{"<.a.><.b.>"}, "mark[<.]code[a]mark[.>]mark[<.]code[b]mark[.>]"},
        {{"x < . y"}, "text[x]text[ ]text[<]text[ ]text[.]text[ ]text[y]"},
    };
    for (const auto& each : cases)
        EXPECT_EQ(TemplateTokens(each.Lines), each.Tokens) << each.Lines[0];
}

TEST(TemplateHighlighterTest, TextAroundCodeUsesTheTextHighlighter) {
    EXPECT_EQ(TemplateTokens({"<b>[.x.]</b>"}, "HTML"),
              "text[<b>]mark[[.]code[x]mark[.]]text[</b>]");
    EXPECT_EQ(TemplateTokens({"<!-- a", "b -->"}, "HTML"), "text[<!-- a] | text[b -->]");
}

// Text highlighter tokens as «Name[text]».
std::string TextTokens(std::string_view language, const std::vector<std::string_view>& lines) {
    const TextLanguage& text = TextLanguages()[HighlighterNamed(language)];
    std::uint8_t range = 0;
    std::string out;
    for (std::string_view line : lines) {
        if (!out.empty()) out += " | ";
        for (const Token& token : TokenizeTextLine(text, line, range))
            out += std::string(TextTokenName(static_cast<TextToken>(token.Kind))) + "[" +
                   std::string(line.substr(token.Start, token.Length)) + "]";
    }
    return out;
}

TEST(TextHighlighterTest, EachFamilyReadsItsLanguage) {
    const struct {
        std::string_view Language;
        std::vector<std::string_view> Lines;
        std::string_view Tokens;
    } cases[] = {
        {"C++",
         {"#include <x>", "int a = 0x1F; // c"},
         "Preprocessor[#include <x>] | Reserved Word[int]Space[ ]Identifier[a]Space[ ]Symbol[=]"
         "Space[ ]Number[0x1F]Symbol[;]Space[ ]Comment[// c]"},
        {"C++",
         {"s = \"a\\\"b\" /* x", "y */ z"},
         "Identifier[s]Space[ ]Symbol[=]Space[ ]String[\"a\\\"b\"]Space[ ]Comment[/* x] | "
         "Comment[y */]Space[ ]Identifier[z]"},
        {"SQL",
         {"SELECT name FROM t -- all"},
         "Reserved Word[SELECT]Space[ ]Identifier[name]Space[ ]Reserved Word[FROM]Space[ ]"
         "Identifier[t]Space[ ]Comment[-- all]"},
        {"Pascal",
         {"begin { a", "b } end"},
         "Reserved Word[begin]Space[ ]Comment[{ a] | Comment[b }]Space[ ]Reserved Word[end]"},
        {"MS-DOS Batch", {"rem x", "remark"}, "Comment[rem x] | Identifier[remark]"},
        {"HTML",
         {"<a href=\"x", "y\">&amp;t</a>"},
         "Tag[<a]Space[ ]Attribute Name[href]Symbol[=]String[\"x] | String[y\"]Tag[>]"
         "Entity[&amp;]Identifier[t]Tag[</a>]"},
        {"INI",
         {"[main]", "key = v;x", "; note"},
         "Section[[main]] | Reserved Word[key ]Symbol[=]Space[ ]String[v;x] | Comment[; note]"},
        {"[None]", {"ab  c!"}, "Identifier[ab]Space[  ]Identifier[c!]"},
    };
    for (const auto& each : cases)
        EXPECT_EQ(TextTokens(each.Language, each.Lines), each.Tokens) << each.Language;
}

TEST(TextHighlighterTest, TheMenuAndItsChoices) {
    const std::vector<TextLanguage>& menu = TextLanguages();
    EXPECT_EQ(DisplayNameOfFilter("HTML Files (*.htm;*.html)|*.htm;*.html"), "HTML");
    EXPECT_EQ(menu[0].DisplayName(), "[None]");
    for (std::size_t index = 1; index < menu.size(); ++index)
        EXPECT_LT(value::CompareNames(menu[index - 1].DisplayName(), menu[index].DisplayName()), 0);

    const struct {
        std::string_view FileName;
        std::string_view Chosen;
    } files[] = {
        {"/p/page.html", "HTML"},
        {"x.tar.gz", "Pascal"},
        {"README", "Pascal"},
        {"a.SQL", "SQL"},
        {"b.cpp", "C++"},
        {"c.h", "C"},
        {"d.weftline", "XML"},
        {"x.c++", "Pascal"},
        {"x.", "Pascal"},
        {"x.(", "Pascal"},
        {"C:\\dir\\y.py", "Python"},
    };
    const std::size_t pascal = HighlighterNamed("Pascal");
    for (const auto& each : files)
        EXPECT_EQ(menu[HighlighterForFileName(each.FileName, pascal)].DisplayName(), each.Chosen)
            << each.FileName;
    EXPECT_EQ(HighlighterNamed("sql"), HighlighterNamed("SQL"));
    EXPECT_EQ(HighlighterNamed("no such"), 0u);

    // A filter the configuration gives replaces the built-in one.
    EXPECT_EQ(menu[HighlighterForFileName("main.ozra", pascal)].DisplayName(), "Pascal");
    const ConfigFile config(xml::ParseXml(
        R"(<configs><languages><l name="html"><f name="File filter" value="Pages (*.ozra)|*.ozra"/>)"
        R"(</l></languages></configs>)"));
    EXPECT_EQ(menu[HighlighterForFileName("main.ozra", pascal, config)].DisplayName(), "HTML");
}

TEST(TextHighlighterTest, TheConfigurationListsOzraFirstThenTheMenu) {
    const std::vector<HighlighterStyle> styles = DefaultHighlighterStyles();
    ASSERT_EQ(styles.size(), TextLanguages().size() + 1);
    EXPECT_EQ(styles[0].Name, "Ozra");
    EXPECT_EQ(styles[1].Name, "[None]");
    EXPECT_EQ(
        styles[HighlighterNamed("XML") + 1].Filter,
        "XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd;*.tessel;*."
        "weftline");
}

} // namespace
} // namespace ozra::ide
