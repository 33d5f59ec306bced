// The keyword and operator tables and their searches.
#include "front/keywords.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace ozra::front {
namespace {

struct Spelling {
    std::string_view Text;
    TokenKind Kind;
};

constexpr bool SpellingLess(const Spelling& a, const Spelling& b) {
    return a.Text < b.Text;
}

using enum TokenKind;

// Sorted by byte value, as the binary search requires.
constexpr Spelling kKeywords[] = {
    {"and", And},
    {"as", Reserved},
    {"assign", Assign},
    {"bool", Reserved},
    {"call", Call},
    {"case", Case},
    {"class", Class},
    {"const", Reserved},
    {"div", DivMod},
    {"do", Do},
    {"downto", Reserved},
    {"else", Else},
    {"elsecase", ElseCase},
    {"elseif", ElseIf},
    {"end", End},
    {"event", Reserved},
    {"except", Except},
    {"exit", Exit},
    {"false", Bool},
    {"file", File},
    {"finally", Finally},
    {"float", Reserved},
    {"for", For},
    {"foreach", Foreach},
    {"function", Function},
    {"get", Reserved},
    {"goto", Reserved},
    {"if", If},
    {"in", In},
    {"int", Reserved},
    {"interface", Reserved},
    {"is", Reserved},
    {"loop", Loop},
    {"mod", DivMod},
    {"namespace", Reserved},
    {"new", Reserved},
    {"nil", Nil},
    {"not", Not},
    {"null", Nil},
    {"of", Reserved},
    {"on", Reserved},
    {"operator", Reserved},
    {"or", Or},
    {"private", Reserved},
    {"property", Reserved},
    {"protected", Reserved},
    {"public", Reserved},
    {"raise", Reserved},
    {"ref", Ref},
    {"return", Reserved},
    {"set", Reserved},
    {"skip", Skip},
    {"step", Step},
    {"string", Reserved},
    {"then", Then},
    {"throw", Reserved},
    {"to", To},
    {"true", Bool},
    {"try", Try},
    {"until", Until},
    {"using", Using},
    {"var", Var},
    {"while", While},
    {"with", Reserved},
};
static_assert(std::size(kKeywords) == 64);
static_assert(std::ranges::is_sorted(kKeywords, SpellingLess));

constexpr Spelling kOperators[] = {
    {"!", Bang},      {"!=", RelOp},    {"!?", RelOp},    {"!^", BitNot},   {"!~", RelOp},
    {"%", MulOp},     {"%%", RelOp},    {"%=", AssignOp}, {"&", Amp},       {"&&", Amp},
    {"&=", AssignOp}, {"&^", ShiftOp},  {"(", LParen},    {")", RParen},    {"*", MulOp},
    {"**", Power},    {"*=", AssignOp}, {"+", Plus},      {"++", IncDec},   {"+=", AssignOp},
    {",", Comma},     {"-", Minus},     {"--", IncDec},   {"-=", AssignOp}, {".", Dot},
    {"..", Colon},    {"/", Slash},     {"/%", MulOp},    {"/=", AssignOp}, {":", Colon},
    {":=", ColonEq},  {";", Semi},      {"<", RelOp},     {"<<", ShiftOp},  {"<=", RelOp},
    {"<>", Ne},       {"=", Eq},        {"==", RelOp},    {"=?", RelOp},    {"=~", RelOp},
    {">", RelOp},     {">=", RelOp},    {">>", ShiftOp},  {"?", Quest},     {"?=", Quest},
    {"??", QQ},       {"[", LBracket},  {"]", RBracket},  {"^", Power},     {"^=", AssignOp},
    {"^^", ShiftOp},  {"{", LBrace},    {"|", Bar},       {"|=", AssignOp}, {"|^", ShiftOp},
    {"||", OrOr},     {"}", RBrace},    {"~", Tilde},     {"~=", AssignOp}, {"~~", RelOp},
};
static_assert(std::size(kOperators) == 60);
static_assert(std::ranges::is_sorted(kOperators, SpellingLess));

// Every word and operator of a script is looked up, so the search first
// narrows the sorted tables down: keywords to those with the same first
// letter, operators (none longer than two characters) to a direct table for
// one character and a sorted list of two-character codes.

struct LetterRange {
    std::uint8_t Begin = 0;
    std::uint8_t End = 0;
};

constexpr std::array<LetterRange, 26> MakeKeywordRanges() {
    std::array<LetterRange, 26> ranges{};
    for (std::size_t i = 0; i < std::size(kKeywords); ++i) {
        LetterRange& range = ranges[kKeywords[i].Text[0] - 'a'];
        if (range.Begin == range.End) range.Begin = static_cast<std::uint8_t>(i);
        range.End = static_cast<std::uint8_t>(i + 1);
    }
    return ranges;
}

constexpr std::array<LetterRange, 26> kKeywordRanges = MakeKeywordRanges();

constexpr std::array<TokenKind, 256> MakeOneCharOperators() {
    std::array<TokenKind, 256> kinds{};
    kinds.fill(Error);
    for (const Spelling& s : kOperators)
        if (s.Text.size() == 1) kinds[static_cast<unsigned char>(s.Text[0])] = s.Kind;
    return kinds;
}

constexpr std::array<TokenKind, 256> kOneCharOperators = MakeOneCharOperators();

constexpr std::uint16_t PairCode(char first, char second) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(first) << 8 |
                                      static_cast<unsigned char>(second));
}

struct PairSpelling {
    std::uint16_t Code;
    TokenKind Kind;
};

static_assert(std::ranges::all_of(kOperators,
                                  [](const Spelling& s) { return s.Text.size() <= 2; }));
constexpr std::size_t kPairCount =
    std::ranges::count_if(kOperators, [](const Spelling& s) { return s.Text.size() == 2; });

// Codes order as the spellings do, so the list comes out sorted.
constexpr std::array<PairSpelling, kPairCount> MakeTwoCharOperators() {
    std::array<PairSpelling, kPairCount> pairs{};
    std::size_t next = 0;
    for (const Spelling& s : kOperators)
        if (s.Text.size() == 2) pairs[next++] = {PairCode(s.Text[0], s.Text[1]), s.Kind};
    return pairs;
}

constexpr std::array<PairSpelling, kPairCount> kTwoCharOperators = MakeTwoCharOperators();

} // namespace

TokenKind LookupKeyword(std::string_view word) {
    if (word.empty() || word[0] < 'a' || word[0] > 'z') return Ident;
    const LetterRange range = kKeywordRanges[word[0] - 'a'];
    for (std::size_t i = range.Begin; i < range.End; ++i)
        if (kKeywords[i].Text == word) return kKeywords[i].Kind;
    return Ident;
}

TokenKind LookupOperator(std::string_view text) {
    if (text.size() == 1) return kOneCharOperators[static_cast<unsigned char>(text[0])];
    if (text.size() != 2) return Error;
    const std::uint16_t code = PairCode(text[0], text[1]);
    const auto found = std::ranges::lower_bound(kTwoCharOperators, code, {}, &PairSpelling::Code);
    return found != kTwoCharOperators.end() && found->Code == code ? found->Kind : Error;
}

} // namespace ozra::front
