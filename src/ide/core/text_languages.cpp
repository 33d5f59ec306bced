// The table of text highlighters and the choice of one by name or file name.
#include "ide/core/text_languages.h"

#include "libs/regex/regex_base.h"
#include "platform/paths.h"
#include "value/names.h"

#include <algorithm>
#include <unordered_set>

namespace ozra::ide {

namespace {

using F = LanguageFamily;

constexpr std::string_view CKeywords =
    "auto break case char const continue default do double else enum extern float for goto if "
    "inline int long register restrict return short signed sizeof static struct switch typedef "
    "union unsigned void volatile while";
constexpr std::string_view CppKeywords =
    "alignas alignof and asm auto bool break case catch char class const constexpr const_cast "
    "continue decltype default delete do double dynamic_cast else enum explicit export extern "
    "false float for friend goto if inline int long mutable namespace new noexcept not nullptr "
    "operator or private protected public register reinterpret_cast return short signed sizeof "
    "static static_assert static_cast struct switch template this throw true try typedef typeid "
    "typename union unsigned using virtual void volatile while";
constexpr std::string_view PascalKeywords =
    "and array as asm begin case class const constructor destructor div do downto else end "
    "except exports file finalization finally for function goto if implementation in inherited "
    "initialization inline interface is label library mod nil not object of or out packed "
    "procedure program property raise record repeat resourcestring set shl shr string then "
    "threadvar to try type unit until uses var while with xor";
constexpr std::string_view BasicKeywords =
    "and as boolean byref byval call case const dim do each else elseif end error exit explicit "
    "false for function get if in integer is let loop me mod new next not nothing null on option "
    "or private property public redim rem resume select set step string sub then to true until "
    "variant wend while with xor";

// A row with the defaults of the code family for what it leaves out.
TextLanguage Row(std::string_view filter, LanguageFamily family, std::string_view keywords = {},
                 bool caseSensitive = true, std::vector<std::string_view> lineComments = {},
                 std::vector<BlockComment> blockComments = {}, std::string_view quotes = "\"'",
                 bool backslashEscapes = false, char directive = 0,
                 std::string_view wordChars = {}) {
    TextLanguage row;
    row.Filter = filter;
    row.Family = family;
    row.Keywords = keywords;
    row.CaseSensitive = caseSensitive;
    row.LineComments = std::move(lineComments);
    row.BlockComments = std::move(blockComments);
    row.Quotes = quotes;
    row.BackslashEscapes = backslashEscapes;
    row.Directive = directive;
    row.WordChars = wordChars;
    return row;
}

// Rows in any order; `TextLanguages` sorts them into menu order.
std::vector<TextLanguage> Rows() {
    return {
        Row("All files (*.*)|*.*", F::PlainText),
        Row("x86 Assembly Files (*.asm)|*.asm", F::Code,
            "mov add sub mul div inc dec cmp jmp je jne jz jnz call ret push pop and or xor not "
            "shl "
            "shr lea int nop loop db dw dd dq equ proc endp segment ends",
            false, {";"}, {}),
        Row("MS-DOS Batch Files (*.bat;*.cmd)|*.bat;*.cmd", F::Code,
            "call cd choice cls copy del dir echo else endlocal errorlevel exist exit for goto if "
            "in "
            "md move not off on pause rd ren set setlocal shift start",
            false, {"rem", "::"}, {}),
        Row("COBOL Files (*.cbl;*.cob)|*.cbl;*.cob", F::Code,
            "accept add call compute data display divide division else end-if environment evaluate "
            "file identification if move multiply perform pic procedure program-id section stop "
            "subtract until using varying when working-storage",
            false, {"*>"}, {}, "\"'", false, 0, "-"),
        Row("C Files (*.c;*.h)|*.c;*.h", F::Code, CKeywords, true, {"//"}, {{"/*", "*/"}}, "\"'",
            true, '#'),
        Row("C++ Files (*.c;*.cc;*.cpp;*.cxx;*.h;*.hh;*.hpp)|*.c;*.cc;*.cpp;*.cxx;*.h;*.hh;*.hpp",
            F::Code, CppKeywords, true, {"//"}, {{"/*", "*/"}}, "\"'", true, '#'),
        Row("C# Files (*.cs)|*.cs", F::Code,
            "abstract as base bool break byte case catch char checked class const continue decimal "
            "default delegate do double else enum event explicit extern false finally fixed float "
            "for "
            "foreach goto if implicit in int interface internal is lock long namespace new null "
            "object "
            "operator out override params private protected public readonly ref return sbyte "
            "sealed "
            "short sizeof static string struct switch this throw true try typeof uint ulong "
            "unchecked "
            "unsafe ushort using var virtual void volatile while",
            true, {"//"}, {{"/*", "*/"}}, "\"'", true, '#'),
        Row("Cascading Stylesheets (*.css)|*.css", F::Code,
            "background border color display float font height margin padding position width",
            false, {}, {{"/*", "*/"}}, "\"'", true, 0, "-"),
        Row("DFM Files (*.dfm;*.xfm)|*.dfm;*.xfm", F::Code, "end false inherited item object true",
            false, {}, {}, "'"),
        Row("Eiffel Files (*.e;*.ace)|*.e;*.ace", F::Code,
            "agent alias all and as check class create debug deferred do else elseif end ensure "
            "expanded export external feature from frozen if implies inherit inspect invariant "
            "like "
            "local loop not obsolete old once or redefine rename require rescue retry select "
            "separate "
            "then undefine until variant when xor",
            false, {"--"}, {}, "\"'"),
        Row("Fortran Files (*.f;*.for;*.f90;*.f95)|*.f;*.for;*.f90;*.f95", F::Code,
            "call character common complex continue data dimension do double else end endif "
            "function go if implicit integer logical module parameter precision program read real "
            "return stop subroutine then to use write",
            false, {"!"}, {}),
        Row("FoxPro Files (*.prg)|*.prg", F::Code,
            "case do else endcase enddo endif endfor endproc for function if local next otherwise "
            "parameters private procedure public return scan select store use while with",
            false, {"&&", "*"}, {}),
        Row("HTML Files (*.htm;*.html)|*.htm;*.html", F::Markup),
        Row("CORBA IDL Files (*.idl)|*.idl", F::Code,
            "any attribute boolean case char const context default double enum exception false "
            "float "
            "in inout interface long module octet oneway out raises readonly sequence short string "
            "struct switch true typedef unsigned union void",
            true, {"//"}, {{"/*", "*/"}}, "\"'", true, '#'),
        Row("INI Files (*.ini)|*.ini", F::Ini),
        Row("Inno Setup Scripts (*.iss)|*.iss", F::Code,
            "setup files icons run registry tasks types components dirs ini languages messages "
            "code",
            false, {";", "//"}, {{"{", "}"}}, "\"'", false, '#'),
        Row("Java Files (*.java)|*.java", F::Code,
            "abstract assert boolean break byte case catch char class const continue default do "
            "double "
            "else enum extends false final finally float for goto if implements import instanceof "
            "int "
            "interface long native new null package private protected public return short static "
            "strictfp super switch synchronized this throw throws transient true try void volatile "
            "while",
            true, {"//"}, {{"/*", "*/"}}, "\"'", true),
        Row("JavaScript Files (*.js)|*.js", F::Code,
            "break case catch class const continue debugger default delete do else export extends "
            "false finally for function if import in instanceof let new null return super switch "
            "this throw true try typeof undefined var void while with yield",
            true, {"//"}, {{"/*", "*/"}}, "\"'`", true, 0, "$"),
        Row("Modula-3 Files (*.m3;*.i3)|*.m3;*.i3", F::Code,
            "AND ANY ARRAY BEGIN BY CASE CONST DIV DO ELSE ELSIF END EXCEPT EXIT FINALLY FOR FROM "
            "IF "
            "IMPORT IN INTERFACE LOCK LOOP MOD MODULE NOT OF OR PROCEDURE RAISE RECORD REF REPEAT "
            "RETURN THEN TO TRY TYPE UNTIL VAR WHILE WITH",
            true, {}, {{"(*", "*)"}}),
        Row("Pascal Files (*.pas;*.pp;*.dpr;*.inc)|*.pas;*.pp;*.dpr;*.inc", F::Code, PascalKeywords,
            false, {"//"}, {{"{", "}"}, {"(*", "*)"}}, "'"),
        Row("Perl Files (*.pl;*.pm;*.cgi)|*.pl;*.pm;*.cgi", F::Code,
            "and cmp do else elsif eq for foreach ge gt if last le local lt my ne next no not or "
            "our "
            "package print require return sub unless until use while xor",
            true, {"#"}, {}, "\"'", true, 0, "$@%"),
        Row("PHP Files (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc", F::Code,
            "abstract and array as break case catch class clone const continue declare default do "
            "echo "
            "else elseif empty endfor endforeach endif endswitch endwhile extends final for "
            "foreach "
            "function global if implements include instanceof interface isset list new or print "
            "private protected public require return static switch throw try unset use var while "
            "xor",
            false, {"//", "#"}, {{"/*", "*/"}}, "\"'", true, 0, "$"),
        Row("Progress Files (*.w;*.p;*.i)|*.w;*.p;*.i", F::Code,
            "assign by case define do else end find first for each if leave message next no-lock "
            "procedure repeat return run then to transaction update variable when where while",
            false, {}, {{"/*", "*/"}}, "\"'", false, 0, "-"),
        Row("Python Files (*.py;*.pyw)|*.py;*.pyw", F::Code,
            "and as assert async await break class continue def del elif else except False finally "
            "for from global if import in is lambda None nonlocal not or pass raise return True "
            "try "
            "while with yield",
            true, {"#"}, {}, "\"'", true),
        Row("Resource Files (*.rc)|*.rc", F::Code,
            "ACCELERATORS BEGIN BITMAP CAPTION CONTROL CURSOR DIALOG DIALOGEX END FONT ICON MENU "
            "MENUITEM POPUP STRINGTABLE STYLE VERSIONINFO",
            true, {"//"}, {{"/*", "*/"}}, "\"", true, '#'),
        Row("Ruby Files (*.rb;*.rbw)|*.rb;*.rbw", F::Code,
            "alias and begin break case class def defined do else elsif end ensure false for if in "
            "module next nil not or redo rescue retry return self super then true undef unless "
            "until "
            "when while yield",
            true, {"#"}, {}, "\"'", true, 0, "@$"),
        Row("SQL Files (*.sql)|*.sql", F::Code,
            "add all alter and as asc between by case check column constraint create database "
            "default "
            "delete desc distinct drop else end exists foreign from group having in index inner "
            "insert into is join key left like not null on or order outer primary references right "
            "select set table then union unique update values view when where",
            false, {"--"}, {{"/*", "*/"}}, "'\""),
        Row("Tcl/Tk Files (*.tcl)|*.tcl", F::Code,
            "after append array break catch continue else elseif eval expr for foreach format "
            "global "
            "if incr info lappend lindex list llength proc puts regexp return set string switch "
            "upvar "
            "while",
            true, {"#"}, {}, "\"", true, 0, "$"),
        Row("TeX Files (*.tex)|*.tex", F::Code, "", true, {"%"}, {}, "", false, 0, "\\"),
        Row("UNIX Shell Scripts (*.sh)|*.sh", F::Code,
            "case do done elif else esac export fi for function if in local read return select "
            "shift "
            "then until while",
            true, {"#"}, {}, "\"'`", true, 0, "$"),
        Row("VBScript Files (*.vbs)|*.vbs", F::Code, BasicKeywords, false, {"'", "rem"}, {}, "\""),
        Row("Visual Basic Files (*.bas)|*.bas", F::Code, BasicKeywords, false, {"'", "rem"}, {},
            "\""),
        Row("XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd;*.tessel;*."
            "weftline",
            F::Markup),
    };
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(value::FoldAscii(static_cast<unsigned char>(c)));
    return lower;
}

struct KeywordSet {
    const TextLanguage* Language;
    std::unordered_set<std::string> Words;
};

// One set per row, made with the table.
const std::vector<KeywordSet>& KeywordSets() {
    static const std::vector<KeywordSet> sets = [] {
        std::vector<KeywordSet> made;
        for (const TextLanguage& language : TextLanguages()) {
            KeywordSet set{&language, {}};
            std::string_view rest = language.Keywords;
            while (!rest.empty()) {
                const std::size_t blank = rest.find(' ');
                const std::string_view word = rest.substr(0, blank);
                if (!word.empty())
                    set.Words.insert(language.CaseSensitive ? std::string(word) : Lower(word));
                rest =
                    blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
            }
            made.push_back(std::move(set));
        }
        return made;
    }();
    return sets;
}

} // namespace

std::string_view TextTokenName(TextToken kind) noexcept {
    static constexpr std::string_view names[] = {
        "Comment", "Identifier",   "Reserved Word", "Number",         "Space",  "String",
        "Symbol",  "Preprocessor", "Tag",           "Attribute Name", "Entity", "Section"};
    return names[static_cast<std::size_t>(kind)];
}

std::string DisplayNameOfFilter(std::string_view filter) {
    std::string name(filter.substr(0, filter.find('(')));
    for (std::size_t at; (at = name.find("Files")) != std::string::npos;)
        name.erase(at, 5);
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::string TextLanguage::DisplayName() const {
    return Family == LanguageFamily::PlainText ? "[None]" : DisplayNameOfFilter(Filter);
}

bool TextLanguage::IsKeyword(std::string_view word) const {
    for (const KeywordSet& set : KeywordSets())
        if (set.Language == this)
            return set.Words.contains(CaseSensitive ? std::string(word) : Lower(word));
    return false;
}

std::vector<AttributeStyle> TextLanguage::Attributes() const {
    const auto style = [](TextToken kind) -> AttributeStyle {
        const std::string name(TextTokenName(kind));
        switch (kind) {
        case TextToken::Comment:
            return {name, {Color(), Rgb{0, 128, 0}}, {false, true}};
        case TextToken::Key:
            return {name, {}, {true}};
        case TextToken::Number:
            return {name, {Color(), Rgb{0, 0, 128}}, {}};
        case TextToken::String:
            return {name, {Color(), Rgb{0, 0, 255}}, {}};
        case TextToken::Preprocessor:
            return {name, {Color(), Rgb{0, 128, 128}}, {}};
        case TextToken::Tag:
            return {name, {Color(), Rgb{0, 0, 128}}, {true}};
        case TextToken::AttributeName:
            return {name, {Color(), Rgb{128, 0, 0}}, {}};
        case TextToken::Entity:
            return {name, {Color(), Rgb{128, 0, 128}}, {}};
        case TextToken::Section:
            return {name, {}, {true}};
        default:
            return {name, {}, {}};
        }
    };
    std::vector<TextToken> kinds;
    switch (Family) {
    case LanguageFamily::PlainText:
        kinds = {TextToken::Identifier, TextToken::Key, TextToken::Space};
        break;
    case LanguageFamily::Code:
        kinds = {TextToken::Comment, TextToken::Identifier, TextToken::Key,   TextToken::Number,
                 TextToken::Space,   TextToken::String,     TextToken::Symbol};
        if (Directive) kinds.push_back(TextToken::Preprocessor);
        break;
    case LanguageFamily::Markup:
        kinds = {TextToken::Comment,       TextToken::Identifier, TextToken::Tag,
                 TextToken::AttributeName, TextToken::String,     TextToken::Entity,
                 TextToken::Space,         TextToken::Symbol};
        break;
    case LanguageFamily::Ini:
        kinds = {TextToken::Comment, TextToken::Section, TextToken::Key,
                 TextToken::String,  TextToken::Space,   TextToken::Symbol};
        break;
    }
    std::vector<AttributeStyle> styles;
    for (TextToken kind : kinds)
        styles.push_back(style(kind));
    if (Family == LanguageFamily::PlainText) styles[0].Colors.Foreground = Rgb{128, 128, 128};
    return styles;
}

const std::vector<TextLanguage>& TextLanguages() {
    static const std::vector<TextLanguage> languages = [] {
        std::vector<TextLanguage> rows = Rows();
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return value::CompareNames(a.DisplayName(), b.DisplayName()) < 0;
        });
        return rows;
    }();
    return languages;
}

std::size_t HighlighterNamed(std::string_view name) {
    const std::vector<TextLanguage>& languages = TextLanguages();
    for (std::size_t index = 0; index < languages.size(); ++index)
        if (value::NamesEqual(languages[index].DisplayName(), name)) return index;
    return 0;
}

// The extensions are escaped: a name such as «x.c++» must not become the
// pattern "c++".
std::size_t HighlighterForFileName(std::string_view fileName, std::size_t current,
                                   const ConfigFile& config) {
    const std::string slashed = platform::SlashPath(fileName);
    const std::string_view name = platform::NamePart(slashed);
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) return current;
    std::string alternatives;
    std::string_view rest = name.substr(dot + 1);
    for (;;) {
        const std::size_t next = rest.find('.');
        const std::string part = regex::TRegexBase::EscapeLiteral(rest.substr(0, next), false);
        if (!part.empty()) alternatives += (alternatives.empty() ? "" : "|") + part;
        if (next == std::string_view::npos) break;
        rest.remove_prefix(next + 1);
    }
    if (alternatives.empty()) return current;
    const std::string pattern = "\\b(" + alternatives + ")\\b";
    value::Ref<regex::TRegexBase> expression;
    try {
        expression = regex::RegexClass.Create(pattern, "C",
                                              regex::OptionBit(regex::RegexOption::IgnoreCase));
    } catch (const std::exception&) {
        return current;
    }
    const std::vector<TextLanguage>& languages = TextLanguages();
    for (std::size_t index = 0; index < languages.size(); ++index) {
        HighlighterStyle filter{
            languages[index].DisplayName(), std::string(languages[index].Filter), {}};
        config.ApplyHighlighter(filter);
        if (expression->Match(regex::SharedText(filter.Filter))->Success()) return index;
    }
    return current;
}

std::vector<HighlighterStyle> DefaultHighlighterStyles() {
    std::vector<HighlighterStyle> styles{{"Ozra", "All files (*.*)|*.*", OzraAttributes()}};
    for (const TextLanguage& language : TextLanguages())
        styles.push_back(
            {language.DisplayName(), std::string(language.Filter), language.Attributes()});
    return styles;
}

} // namespace ozra::ide
