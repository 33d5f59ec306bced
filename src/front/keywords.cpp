// The keyword and operator tables and their binary searches.
#include "front/keywords.h"

#include <algorithm>
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

constexpr std::size_t kLongestKeyword =
    std::ranges::max(kKeywords, {}, [](const Spelling& s) { return s.Text.size(); }).Text.size();

template <std::size_t N> const Spelling* Find(const Spelling (&table)[N], std::string_view text) {
    const Spelling* found =
        std::lower_bound(std::begin(table), std::end(table), Spelling{text, Error}, SpellingLess);
    return found != std::end(table) && found->Text == text ? found : nullptr;
}

} // namespace

TokenKind LookupKeyword(std::string_view word) {
    // Every keyword is lower case; most identifiers are ruled out here
    // without a search.
    if (word.size() > kLongestKeyword || word.empty() || word[0] < 'a' || word[0] > 'z')
        return Ident;
    const Spelling* found = Find(kKeywords, word);
    return found ? found->Kind : Ident;
}

TokenKind LookupOperator(std::string_view text) {
    const Spelling* found = Find(kOperators, text);
    return found ? found->Kind : Error;
}

} // namespace ozra::front
