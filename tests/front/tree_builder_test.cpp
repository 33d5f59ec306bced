// The tree builder: structure errors with their spans, the pairing of
// controls with their closing statements, the callbacks, literals,
// operator codes and the spans of expression rules.
#include "builder_driver.h"

#include "front/operator_codes.h"

#include <gtest/gtest.h>

namespace ozra::front {
namespace {

using testing::BuilderDriver;
using Lines = std::vector<std::string>;

struct StructureCase {
    const char* title;
    Lines steps;
    Lines errors;
    int finishAt = 0; // text length for Finish, 0: no Finish
};

class StructureErrors : public ::testing::TestWithParam<StructureCase> {};

TEST_P(StructureErrors, ReportsExactMessagesAndSpans) {
    const StructureCase& c = GetParam();
    BuilderDriver driver;
    driver.Run(c.steps);
    if (c.finishAt) driver.Builder().Finish(c.finishAt);
    EXPECT_EQ(driver.Errors(), c.errors);
    if (c.finishAt) {
        EXPECT_EQ(driver.Builder().Current(), driver.Builder().Root().Get());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Builder, StructureErrors,
    ::testing::Values(
        StructureCase{"BraceAtRoot", {"{"}, {"error 10+5 block not found."}},
        StructureCase{"BraceTwice", {"if a", "{", "{"}, {"error 30+5 block not found."}},
        StructureCase{"ElseAtRoot", {"else"}, {"error 10+5 if or case not found."}},
        StructureCase{"ElseInLoop", {"while c", "else"}, {"error 20+5 if or case not found."}},
        StructureCase{"ElseTwice", {"if a", "else", "else"}, {"error 30+5 else already exists."}},
        StructureCase{"ElseIfAfterElse",
                      {"if a", "else", "elseif b", "end if"},
                      {"error 30+5 else already exists."}},
        StructureCase{"ElseCaseAtRoot", {"elsecase x"}, {"error 10+5 if or case not found."}},
        StructureCase{"ElseIfInFor", {"for i", "elseif b"}, {"error 20+5 if or case not found."}},
        StructureCase{"ExceptAtRoot", {"except"}, {"error 10+5 try not found."}},
        StructureCase{"FinallyInIf", {"if a", "finally"}, {"error 20+5 try not found."}},
        StructureCase{
            "ExceptTwice", {"try", "except", "except"}, {"error 30+5 except already exists."}},
        StructureCase{
            "FinallyTwice", {"try", "finally", "finally"}, {"error 30+5 finally already exists."}},
        StructureCase{"BraceClosedByEnd", {"if a", "{", "end if"}, {"error 30+5 } not found."}},
        StructureCase{"ForClosedByEndIf",
                      {"for i", "end if"},
                      {"error 20+5 for not end.", "error 20+5 if not found."}},
        StructureCase{"WhileClosedByEndLoop",
                      {"while c", "end loop"},
                      {"error 20+5 while not end.", "error 20+5 loop not found."}},
        StructureCase{"LoopClosedByEndWhile",
                      {"loop", "end while"},
                      {"error 20+5 loop not end.", "error 20+5 while not found."}},
        StructureCase{"EndWithNothingOpen", {"end if"}, {"error 10+5 if not found."}},
        StructureCase{"CloseBraceWithNothingOpen", {"}"}, {"error 10+5 { not found."}},
        StructureCase{
            "InnerNotEnded", {"if a", "while c", "end if"}, {"error 30+5 while not end."}},
        StructureCase{"FunctionOpenAtEnd", {"function f"}, {"error 98+1 function not end."}, 100},
        StructureCase{"BraceOpenAtEnd", {"if a", "{"}, {"error 98+1 } not found."}, 100},
        StructureCase{"NestedOpenAtEnd",
                      {"for i", "try", "except"},
                      {"error 48+1 try not end.", "error 48+1 for not end."},
                      50},
        StructureCase{
            "ChainOpenAtEnd", {"if a", "elseif b", "elsecase c"}, {"error 18+1 if not end."}, 20},
        StructureCase{"VarTwice", {"var x", "var X"}, {"error 20+5 X already exists."}},
        StructureCase{"FunctionTwice",
                      {"function f", "end function", "function F"},
                      {"error 30+5 F already exists."}},
        StructureCase{"ParameterNamedResult",
                      {"function f result", "end function"},
                      {"error 10+5 result already exists."}},
        StructureCase{"ClassParameterNamedThis",
                      {"class C this", "end class"},
                      {"error 10+5 this already exists."}},
        StructureCase{"RefToUnknown", {"ref r y"}, {"error 10+5 variable y not found."}},
        StructureCase{
            "RefArgumentToUnknown", {"callref f y"}, {"error 10+5 variable y not found."}},
        StructureCase{"SyntaxError", {"error"}, {"error 10+5 "}},
        StructureCase{"BraceAfterChainClosesChain",
                      {"if a", "elseif b", "{", "}", "else"},
                      {"error 50+5 if or case not found."}},
        StructureCase{"BraceIfThenElse",
                      {"if a", "{", "set x", "}", "else"},
                      {"error 50+5 if or case not found."}},
        StructureCase{"WellFormed",
                      {"if a",        "elseif b",  "else",        "end if",         "try",
                       "except",      "finally",   "end try",     "for i",          "{",
                       "}",           "case x",    "elsecase y",  "end case",       "foreach v",
                       "loop",        "end loop",  "end foreach", "function f a b", "end function",
                       "class C:B x", "end class", "assign v",    "end assign",     "file f",
                       "end file",    "loop",      "{",           "exit loop",      "}",
                       "until c",     "skip loop", "end loop"},
                      {},
                      400}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(Builder, ElseIfChainShapeAndCallbacks) {
    BuilderDriver driver;
    driver.Run({"if a", "text A", "elseif b", "text B", "elseif c", "else", "text E", "end if"});
    EXPECT_EQ(driver.Dump(), R"(TtsBlock names=[]
  TtsIfNode kw=if @10+5 end@80+5
    Condition: TtsVarRef a
    Body: TtsBlock names=[]
      TtsText "A" @20+5
    Else: TtsIfNode kw=elseif @30+5 end@80+5
      Condition: TtsVarRef b
      Body: TtsBlock names=[]
        TtsText "B" @40+5
      Else: TtsIfNode kw=elseif @50+5 end@80+5
        Condition: TtsVarRef c
        Body: TtsBlock names=[]
        Else: TtsBlock names=[]
          TtsText "E" @70+5
)");
    EXPECT_EQ(driver.Log(),
              (Lines{"node TtsIfNode if@10", "node TtsText @20", "node TtsIfNode elseif@30",
                     "node TtsText @40", "node TtsIfNode elseif@50", "node TtsText @70",
                     "end elseif@80", "end elseif@80", "end if@80"}));
}

TEST(Builder, ElseIfAfterElseJoinsTheElseBlock) {
    BuilderDriver driver;
    driver.Run({"if a", "else", "elseif b", "text B", "end if", "text after"});
    EXPECT_EQ(driver.Dump(), R"(TtsBlock names=[]
  TtsIfNode kw=if @10+5 end@50+5
    Condition: TtsVarRef a
    Body: TtsBlock names=[]
    Else: TtsBlock names=[]
      TtsIfNode kw=elseif @30+5 end@50+5
        Condition: TtsVarRef b
        Body: TtsBlock names=[]
          TtsText "B" @40+5
  TtsText "after" @60+5
)");
}

TEST(Builder, BraceClosesTheControlAndItsChain) {
    BuilderDriver driver;
    driver.Run({"if a", "elseif b", "{", "text B", "}", "text after"});
    EXPECT_EQ(driver.Dump(), R"(TtsBlock names=[]
  TtsIfNode kw=if @10+5 end@50+5
    Condition: TtsVarRef a
    Body: TtsBlock names=[]
    Else: TtsIfNode kw=elseif @20+5 end@50+5
      Condition: TtsVarRef b
      Body: TtsBlock names=[]
        TtsText "B" @40+5
  TtsText "after" @60+5
)");
    EXPECT_EQ(driver.Errors(), Lines{});
    EXPECT_EQ(driver.Builder().Root()->Tag, 0);
}

TEST(Builder, NotEndedControlsCloseWithoutEndSpan) {
    BuilderDriver driver;
    driver.Run({"for i", "while c", "end if"});
    EXPECT_EQ(
        driver.Log(),
        (Lines{"node TtsForNode for@10", "node TtsLoopNode while@20", "error 30+5 while not end.",
               "end while@0", "error 30+5 for not end.", "end for@0", "error 30+5 if not found."}));
}

TEST(Builder, ClausesMoveIntoTheirBlocks) {
    BuilderDriver driver;
    driver.Run({"try", "text T", "except", "text E", "finally", "text F", "end try"});
    EXPECT_EQ(driver.Dump(), R"(TtsBlock names=[]
  TtsTryNode kw=try @10+5 end@70+5
    Body: TtsBlock names=[]
      TtsText "T" @20+5
    Except: TtsBlock names=[exception:TtsVariable]
      TtsText "E" @40+5
    Finally: TtsBlock names=[]
      TtsText "F" @60+5
)");
}

TEST(Builder, StatementsKeepTheirParts) {
    BuilderDriver driver;
    driver.Run({"var x", "set x", "exit for", "skip loop", "callref f x", "text a\tb\"c"});
    EXPECT_EQ(driver.Dump(), R"(TtsBlock names=[x:TtsGcVariable]
  TtsVarDefine op=0 @10+5
    Target: TtsVarRef x
  TtsAssign op=0 @20+5
    Target: TtsVarRef x
    Value: TtsConst 1
  TtsExit kw=for @30+5
  TtsSkip kw=loop @40+5
  TtsCall @50+5
    Expression: TtsFunctionExpr
      Callee: TtsVarRef f
      Arg: TtsGcVariable x mode=0
  TtsText "a\tb\"c" @60+5
)");
}

TEST(Builder, DuplicateVarStaysInTheTree) {
    BuilderDriver driver;
    driver.Run({"var x", "var x"});
    const TtsBlock& root = *driver.Builder().Root();
    ASSERT_EQ(root.Statements.Count(), 2);
    EXPECT_EQ(root.Statements[1]->Kind, NodeKind::VarDefine);
    EXPECT_EQ(root.Names.Count(), 1);
}

TEST(Builder, FinishClosesEverythingAtTextEnd) {
    BuilderDriver driver;
    driver.Run({"function f", "if a", "elseif b"});
    driver.Builder().Finish(77);
    EXPECT_EQ(driver.Log(),
              (Lines{"node TtsFunctionNode function@10", "node TtsIfNode if@20",
                     "node TtsIfNode elseif@30", "end elseif@75", "error 75+1 if not end.",
                     "end if@0", "error 75+1 function not end.", "end function@0"}));
}

TEST(Builder, BuildsIntoAGivenRoot) {
    auto root = value::MakeRef<TtsBlock>(nullptr);
    BuilderDriver driver(root);
    driver.Run({"text a", "else", "{"});
    EXPECT_EQ(driver.Builder().Root(), root);
    EXPECT_EQ(root->Statements.Count(), 1);
    EXPECT_EQ(driver.Errors(),
              (Lines{"error 20+5 if or case not found.", "error 30+5 block not found."}));
}

// An included file is compiled into the body of a file node: a stray "{" or
// "else" there must not mark or join the including file's structure.
TEST(Builder, NeverLooksAboveItsRoot) {
    BuilderDriver outer;
    outer.Run({"if a", "file inner"});
    auto* file = NodeCast<TtsFileNode>(outer.Builder().Current()->Parent);
    ASSERT_NE(file, nullptr);
    BuilderDriver inner(file->Body);
    inner.Run({"{", "else", "except", "elseif b", "}"});
    EXPECT_EQ(inner.Errors(),
              (Lines{"error 10+5 block not found.", "error 20+5 if or case not found.",
                     "error 30+5 try not found.", "error 40+5 if or case not found.",
                     "error 50+5 { not found."}));
    outer.Run({"end file", "end if"});
    EXPECT_EQ(outer.Errors(), Lines{});
}

// --- literals -------------------------------------------------------------------

struct ConstCase {
    const char* kind; // int, negint, float, negfloat, hex, string, bool, nil
    const char* text;
    const char* dumped; // the dump of the constant; "" when it is refused
};

TEST(Builder, Literals) {
    const std::vector<ConstCase> cases = {
        {"int", "0", "TtsConst 0"},
        {"int", "2147483647", "TtsConst 2147483647"},
        {"int", "2147483648", ""},
        {"int", "99999999999999999999999", ""},
        {"negint", "2147483648", "TtsConst -2147483648"},
        {"negint", "2147483649", ""},
        {"negint", "7", "TtsConst -7"},
        {"float", "1.5", "TtsConst 1.5"},
        {"negfloat", "0.25", "TtsConst -0.25"},
        {"float", "1.0", "TtsConst 1"},
        {"hex", "$FFFFFFFF", "TtsConst -1"},
        {"hex", "$1F", "TtsConst 31"},
        {"hex", "0x7fffffff", "TtsConst 2147483647"},
        {"hex", "0X123456789", "TtsConst 591751049"},
        {"string", "it's", "TtsConst \"it's\""},
        {"bool", "true", "TtsConst true"},
        {"bool", "false", "TtsConst false"},
        {"nil", "null", "TtsConst nil"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.text);
        BuilderDriver driver;
        TtsBuilder& b = driver.Builder();
        auto minus = BuilderDriver::Token(3, 1, "-");
        auto token = BuilderDriver::Token(4, 10, c.text);
        const std::string kind = c.kind;
        ParseValue value = kind == "int"        ? b.IntConst(token)
                           : kind == "negint"   ? b.NegativeIntConst(minus, token)
                           : kind == "float"    ? b.FloatConst(token)
                           : kind == "negfloat" ? b.NegativeFloatConst(minus, token)
                           : kind == "hex"      ? b.HexConst(token)
                           : kind == "string"   ? b.StringConst(token)
                           : kind == "bool"     ? b.BoolConst(token)
                                                : b.NilConst(token);
        const bool negative = kind.rfind("neg", 0) == 0;
        EXPECT_EQ(value.Position, negative ? 3 : 4);
        EXPECT_EQ(value.Length, negative ? 11 : 10);
        ASSERT_NE(value.Node, nullptr);
        if (*c.dumped) {
            EXPECT_EQ(DumpTree(*value.Node), std::string(c.dumped) + "\n");
            EXPECT_EQ(driver.Errors(), Lines{});
        } else {
            const std::string at = negative ? "3+11" : "4+10";
            EXPECT_EQ(driver.Errors(), Lines{"error " + at + " integer constant out of range."});
            EXPECT_EQ(DumpTree(*value.Node), "TtsConst nil\n");
        }
    }
}

// --- operator codes ---------------------------------------------------------

TEST(OperatorCodes, EverySpelling) {
    const std::vector<std::pair<const char*, char>> cases = {
        {"~", '~'},
        {"+", '+'},
        {"-", '-'},
        {"*", '*'},
        {"/", '/'},
        {"^", '^'},
        {"%", '%'},
        {"mod", '%'},
        {"/%", '\\'},
        {"div", '\\'},
        {"**", '^'},
        {"<<", 'L'},
        {">>", 'R'},
        {"&^", 'A'},
        {"|^", 'O'},
        {"^^", 'X'},
        {"!^", 'N'},
        {"=", '='},
        {"==", '='},
        {"<>", 'n'},
        {"!=", 'n'},
        {"<", '<'},
        {"<=", 'l'},
        {">", '>'},
        {">=", 'g'},
        {"=?", 't'},
        {"!?", 'y'},
        {"=~", 'r'},
        {"!~", 'z'},
        {"~~", 'x'},
        {"in", 'i'},
        {"%%", 'i'},
        {"&", '&'},
        {"&&", '&'},
        {"and", '&'},
        {"|", '|'},
        {"||", '|'},
        {"or", '|'},
        {"!", '!'},
        {"not", '!'},
        // the fallback for spellings outside the table
        {"@", '@'},
        {"::", ':'},
        {"+=", '+'},
        {"?=", '?'},
        {"*^", '*'},
        {"-~", '-'},
        {"ab", 0},
        {"xor", 0},
        {"", 0},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(OperatorCode(text), code) << text;
}

TEST(OperatorCodes, AssignCode) {
    const std::vector<std::pair<const char*, char>> cases = {
        {"=", 0},    {":=", 0},   {"+=", '+'}, {"-=", '-'}, {"*=", '*'}, {"/=", '/'}, {"%=", '%'},
        {"&=", '&'}, {"|=", '|'}, {"^=", '^'}, {"~=", '~'}, {"++", '+'}, {"--", '-'}, {"", 0},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(AssignCode(text), code) << text;
}

// --- expression rules ---------------------------------------------------------

class ExpressionRules : public ::testing::Test {
  protected:
    static ParseValue Tok(std::int32_t position, std::int32_t length, const char* text) {
        return BuilderDriver::Token(position, length, text);
    }
    BuilderDriver driver;
    TtsBuilder& b = driver.Builder();
};

TEST_F(ExpressionRules, OperatorsAndSpans) {
    auto t1 = Tok(1, 1, "a");
    auto plus = Tok(3, 3, "div");
    auto t2 = Tok(7, 2, "10");
    auto bang = Tok(11, 3, "not");
    auto left = b.NameRef(t1);
    auto right = b.IntConst(t2);
    auto sum = b.BinaryOperator(left, plus, right);
    EXPECT_EQ(sum.Position, 1);
    EXPECT_EQ(sum.Length, 8);
    auto open = Tok(0, 1, "(");
    auto close = Tok(9, 1, ")");
    auto inner = b.Parenthesized(open, close, sum);
    EXPECT_EQ(inner.Position, 0);
    EXPECT_EQ(inner.Length, 10);
    auto negated = b.UnaryOperator(bang, inner);
    EXPECT_EQ(DumpTree(*negated.Node), R"(TtsNaryOperator op='!'
  Operand: TtsDualOperator op='\'
    Left: TtsVarRef a
    Right: TtsConst 10
)");
}

TEST_F(ExpressionRules, MemberAccessForwardsOrKeepsTheReceiver) {
    auto t1 = Tok(1, 1, "f");
    auto t2 = Tok(5, 4, "name");
    auto t3 = Tok(10, 3, "a.b");
    auto callee = b.NameRef(t1);
    ParseValue noArguments;
    auto call = b.FunctionCall(t1, t1, callee, noArguments);
    auto call2 = call;
    auto plain = b.NameRef(t2);
    auto dotted = b.DottedRef(t3);
    auto viaPlain = b.MemberAccess(call, plain);
    auto viaDotted = b.MemberAccess(call2, dotted);
    EXPECT_EQ(viaPlain.Position, 1);
    EXPECT_EQ(viaPlain.Length, 8);
    EXPECT_EQ(DumpTree(*viaPlain.Node), R"(TtsVarRef name
  Member: TtsPropRef name
    Object: TtsFunctionExpr
      Callee: TtsVarRef f
)");
    EXPECT_EQ(DumpTree(*viaDotted.Node), R"(TtsPropRef a.b
  Object: TtsFunctionExpr
    Callee: TtsVarRef f
)");
    auto* member = NodeCast<TtsVarRef>(viaPlain.Node.Get())->PropRef.Get();
    EXPECT_EQ(member->Parent, b.Root().Get());
    EXPECT_EQ(member->NameParts, std::vector<std::string>{"name"});
    EXPECT_EQ(NodeCast<TtsPropRef>(viaDotted.Node.Get())->NameParts,
              (std::vector<std::string>{"a", "b"}));
}

TEST_F(ExpressionRules, ListsSetsAndFilters) {
    auto ta = Tok(2, 1, "a");
    auto tk = Tok(4, 1, "k");
    auto t2 = Tok(6, 1, "2");
    auto a = b.NameRef(ta);
    auto two = b.IntConst(t2);
    auto named = b.NamedArgument(tk, two);
    EXPECT_EQ(named.Position, 4);
    EXPECT_EQ(named.Length, 3);
    auto list = b.FirstArgument(a);
    list = b.NextArgument(list, named);
    EXPECT_EQ(list.Position, 2);
    EXPECT_EQ(list.Length, 5);
    auto open = Tok(1, 1, "[");
    auto close = Tok(7, 1, "]");
    auto set = b.ListLiteral(open, close, list);
    auto* setNode = NodeCast<TtsSet>(set.Node.Get());
    ASSERT_NE(setNode, nullptr);
    EXPECT_EQ(setNode->Value().Object(), setNode);
    EXPECT_FALSE(value::TtsValueHelper::IsCounted(setNode->Value()));

    auto t0 = Tok(10, 1, "0");
    auto t1 = Tok(12, 1, "1");
    auto t5 = Tok(14, 1, "5");
    auto from = b.IntConst(t0);
    auto to = b.IntConst(t1);
    auto single = b.IntConst(t5);
    auto range = b.RangeExpr(from, to);
    auto ranges = b.FirstRange(range);
    ranges = b.NextRange(ranges, single);
    auto subsetClose = Tok(15, 1, "]");
    auto subset = b.SubSetExpr(set, subsetClose, set, ranges);
    auto tv = Tok(20, 1, "v");
    auto cond = b.NameRef(tv);
    auto src = b.NameRef(tv);
    auto filter = b.FilterExpr(open, close, tv, src, cond);
    auto target = b.NameRef(ta);
    auto index = b.IndexExpr(target, close, target, filter);
    EXPECT_EQ(DumpTree(*subset.Node), R"(TtsSubSetExpr
  Source: TtsSet
    Element: TtsVarRef a
    Element: TtsConst arg=k 2
  Range: TtsRangeExpr
    Start: TtsConst 0
    End: TtsConst 1
  Range: TtsConst 5
)");
    EXPECT_EQ(DumpTree(*index.Node), R"(TtsIndexExpr
  Target: TtsVarRef a
  Index: TtsFilterExpr item=v
    Source: TtsVarRef v
    Condition: TtsVarRef v
)");
}

TEST_F(ExpressionRules, SyntaxErrorSpanEndsAtTheSemicolon) {
    auto error = Tok(5, 2, "x");
    auto semi = Tok(12, 1, ";");
    auto result = b.SyntaxErrorStatement(error, &semi);
    EXPECT_EQ(result.Position, 5);
    EXPECT_EQ(result.Length, 7);
    EXPECT_EQ(driver.Errors(), Lines{"error 5+7 "});
}

TEST_F(ExpressionRules, DuplicateParameterLeavesTheParse) {
    auto a = Tok(1, 1, "a");
    auto bTok = Tok(3, 1, "b");
    auto again = Tok(5, 1, "A");
    auto list = b.FirstParameter(a);
    list = b.NextParameter(list, bTok);
    EXPECT_EQ(list.Items.size(), 2u);
    EXPECT_EQ(list.Length, 3);
    try {
        b.NextParameter(list, again);
        FAIL() << "no error";
    } catch (const value::EtsException& error) {
        EXPECT_STREQ(error.what(), "A already exists.");
    }
}

} // namespace
} // namespace ozra::front
