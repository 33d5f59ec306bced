// The text highlighters: one table row per language the editor offers for
// the template text around code blocks, and the tokenizer that reads a
// line by its row.
//
// A row gives the file filter (whose part before "(", without the word
// "Files", is the display name), the keywords and the lexical rules of a
// family of languages: code (comments, strings, numbers, words), markup
// (tags, attributes, entities) or INI files. The rows are read-only and
// made once; adding a language is adding a row.
//
// The menu order is the display names sorted ignoring case, "[None]"
// (plain text) among them; `HighlighterForFileName` and `HighlighterNamed`
// answer positions in that order.
#pragma once

#include "ide/core/config_file.h"
#include "ide/core/ozra_tokenizer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ozra::ide {

// Token kinds of the text highlighters; each names the attribute that
// colours it.
enum class TextToken : std::uint8_t {
    Comment,
    Identifier,
    Key,
    Number,
    Space,
    String,
    Symbol,
    Preprocessor,
    Tag,
    AttributeName,
    Entity,
    Section,
};

std::string_view TextTokenName(TextToken kind) noexcept;

enum class LanguageFamily : std::uint8_t { PlainText, Code, Markup, Ini };

struct BlockComment {
    std::string_view Open;
    std::string_view Close;
};

struct TextLanguage {
    std::string_view Filter;
    LanguageFamily Family = LanguageFamily::Code;
    // Separated by blanks.
    std::string_view Keywords;
    bool CaseSensitive = true;
    // A comment to the end of the line; one made of letters («REM») only
    // counts as a whole word, ignoring case.
    std::vector<std::string_view> LineComments;
    std::vector<BlockComment> BlockComments;
    std::string_view Quotes = "\"'";
    bool BackslashEscapes = false;
    // A line whose first non-blank character is this is a directive ("#").
    char Directive = 0;
    // Characters besides letters, digits and "_" that words may hold.
    std::string_view WordChars;

    std::string DisplayName() const;
    // The attributes the language colours, with their default styles.
    std::vector<AttributeStyle> Attributes() const;
    bool IsKeyword(std::string_view word) const;
};

// The display name of a file filter: the part before "(", without the word
// "Files", trimmed.
std::string DisplayNameOfFilter(std::string_view filter);

// Every text highlighter, in menu order.
const std::vector<TextLanguage>& TextLanguages();

// Tokens of one line; `range` carries unclosed comments, strings and tags
// from line to line (0 at the start of a text). Kinds are `TextToken`s.
std::vector<Token> TokenizeTextLine(const TextLanguage& language, std::string_view line,
                                    std::uint8_t& range);

// The menu position of the highlighter named so (ignoring case); 0, the
// first, for an unknown name.
std::size_t HighlighterNamed(std::string_view name);
// The first highlighter, in menu order, whose filter holds one of the
// file name's extensions as a word (ignoring case); `current` for a name
// without "." or when none matches. A filter the configuration gives a
// highlighter replaces its built-in one.
std::size_t HighlighterForFileName(std::string_view fileName, std::size_t current,
                                   const ConfigFile& config = ConfigFile());

// The styles the configuration file lists: "Ozra" first, then every text
// highlighter in menu order.
std::vector<HighlighterStyle> DefaultHighlighterStyles();

} // namespace ozra::ide
