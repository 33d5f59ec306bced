// The keyword and operator tables: every spelling gives its kind, and
// anything else is an identifier or an error run.
#include "front/keywords.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace ozra::front {
namespace {

struct SpellingsCase {
    TokenKind kind;
    std::string spellings; // separated by spaces
};

std::vector<std::string> Words(const std::string& spellings) {
    std::istringstream in(spellings);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

TEST(Keywords, EverySpellingGivesItsKind) {
    using enum TokenKind;
    const std::vector<SpellingsCase> cases = {
        {If, "if"},
        {Case, "case"},
        {For, "for"},
        {Foreach, "foreach"},
        {Loop, "loop"},
        {Function, "function"},
        {Class, "class"},
        {File, "file"},
        {Assign, "assign"},
        {Try, "try"},
        {End, "end"},
        {ElseIf, "elseif"},
        {ElseCase, "elsecase"},
        {Else, "else"},
        {Except, "except"},
        {Finally, "finally"},
        {Exit, "exit"},
        {Skip, "skip"},
        {Using, "using"},
        {Var, "var"},
        {Ref, "ref"},
        {Call, "call"},
        {DivMod, "div mod"},
        {In, "in"},
        {Not, "not"},
        {And, "and"},
        {Or, "or"},
        {Bool, "true false"},
        {Nil, "nil null"},
        {Then, "then"},
        {To, "to"},
        {Step, "step"},
        {Do, "do"},
        {While, "while"},
        {Until, "until"},
        {Reserved, "as bool const downto event float get goto int interface is namespace new of "
                   "on operator private property protected public raise return set string "
                   "throw with"},
        // Exact, case-sensitive comparison: near misses are identifiers.
        {Ident, "If TRUE Null iff fo elseiff _if @if a z x1 interfaces Namespace"},
    };
    std::size_t keywords = 0;
    for (const SpellingsCase& c : cases) {
        for (const std::string& word : Words(c.spellings)) {
            EXPECT_EQ(LookupKeyword(word), c.kind) << word;
            if (c.kind != Ident) ++keywords;
        }
    }
    EXPECT_EQ(keywords, 64u) << "the table above must list every keyword spelling";
}

TEST(Keywords, EveryOperatorSpellingGivesItsKind) {
    using enum TokenKind;
    const std::vector<SpellingsCase> cases = {
        {Tilde, "~"},
        {Plus, "+"},
        {Minus, "-"},
        {Slash, "/"},
        {MulOp, "* % /%"},
        {Power, "** ^"},
        {IncDec, "++ --"},
        {ShiftOp, "<< >> &^ |^ ^^"},
        {BitNot, "!^"},
        {Colon, ": .."},
        {Eq, "="},
        {Ne, "<>"},
        {RelOp, "== != < <= > >= =? !? =~ !~ ~~ %%"},
        {Bang, "!"},
        {Amp, "& &&"},
        {Bar, "|"},
        {OrOr, "||"},
        {AssignOp, "+= -= *= /= %= &= |= ^= ~="},
        {ColonEq, ":="},
        {Quest, "? ?="},
        {QQ, "??"},
        {LParen, "("},
        {RParen, ")"},
        {LBracket, "["},
        {RBracket, "]"},
        {LBrace, "{"},
        {RBrace, "}"},
        {Comma, ","},
        {Semi, ";"},
        {Dot, "."},
        {Error, "=> =- ... <<= >>= === !! ??? **= -> ~~~ ||| ::"},
    };
    std::size_t operators = 0;
    for (const SpellingsCase& c : cases) {
        for (const std::string& word : Words(c.spellings)) {
            EXPECT_EQ(LookupOperator(word), c.kind) << word;
            if (c.kind != Error) ++operators;
        }
    }
    EXPECT_EQ(operators, 60u) << "the table above must list every operator spelling";
}

} // namespace
} // namespace ozra::front
