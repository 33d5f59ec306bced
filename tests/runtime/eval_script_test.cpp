// Language behaviour of the evaluator, one table of small scripts and their
// exact output.
#include "eval_test_support.h"

namespace ozra::runtime::testing {

using namespace value;
namespace {

struct ScriptCase {
    const char* Name;
    const char* Script;
    const char* Output;
};

class ScriptOutput : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptOutput, ProducesExpectedText) {
    const ScriptCase& c = GetParam();
    const ScriptRun run = RunScript(c.Script);
    EXPECT_EQ(run.Error, "");
    EXPECT_EQ(run.Output, c.Output);
}

const ScriptCase kCases[] = {
    {"Text", "abc", "abc"},
    {"OutputExpression", "<.= 1 + 2.>", "3"},
    {"OutputLineBreak", "<.?? 'a'; ?? 'b'.>", "a\r\nb\r\n"},
    {"SquareDelimiters", "x[.= 6 * 7 .]y", "x42y"},
    {"VarAndAssign", "<.var x = 5; x = x * 2; = x.>", "10"},
    {"CompoundAssign", "<.var x = 5; x += 3; x -= 1; x *= 2; = x.>", "14"},
    {"IncDec", "<.var x = 5; x++; x++; x--; = x.>", "6"},
    {"Concat", "<.= 1 ~ 2.>", "12"},
    {"PowerExact", "<.= 3 ** 20.>", "3486784401"},
    {"OverflowWidens", "<.var x = 2147483647; x = x + 1; = x.>", "2147483648"},
    {"ShortCircuitAnd",
     "<.function f() = 'called'; end function; if (false and f()) = 'y'; else = 'n'; end if.>",
     "n"},
    {"ShortCircuitOr", "<.function f() = 'called'; end function; if (true or f()) = 'y'; end if.>",
     "y"},
    {"IfElseChain",
     "<.foreach (i in [1, 2, 3]) if (i = 1) = 'a'; elseif (i = 2) = 'b'; else = 'c'; end if; end "
     "foreach.>",
     "abc"},
    {"CaseSingle", "<.var s = 'x'; case (s = 'x') = 'hit'; else = 'miss'; end case.>", "hit"},
    {"CaseSeveral",
     "<.foreach (i in [1, 5, 9]) case (i = 1, 9) = 'y'; elsecase (i <> 1, 9) = 'n'; end case; end "
     "foreach.>",
     "yny"},
    {"ForUp", "<.for (i = 1 to 4) = i; end for.>", "1234"},
    {"ForDownStep", "<.for (i = 3 to 1 step -1) = i; end for.>", "321"},
    {"ForEmpty", "<.for (i = 1 to 0) = i; end for.>", ""},
    {"ForStepZero", "<.for (i = 1 to 3 step 0) = i; end for.>", ""},
    {"ForEndFixed", "<.var n = 3; for (i = 1 to n) n = 10; = i; end for.>", "123"},
    {"While", "<.var i = 0; while (i < 3) i++; = i; end while.>", "123"},
    {"LoopUntil", "<.var i = 0; loop until (i >= 3) i++; = i; end loop.>", "123"},
    {"LoopExit", "<.var i = 0; loop i++; if (i > 2) exit loop; end if; = i; end loop.>", "12"},
    {"SkipFor", "<.for (i = 1 to 5) if (i = 3) skip for; end if; = i; end for.>", "1245"},
    {"ExitOuterLoop",
     "<.foreach (a in [1, 2]) for (i = 1 to 3) if (i = 2) exit foreach; end if; = a ~ i; end for; "
     "end foreach;= '.'.>",
     "11."},
    {"ForeachStopsAtEmpty", "<.foreach (x in [1, 2, nil, 4]) = x; end foreach.>", "12"},
    {"ForeachFilter", "<.foreach (x in [1, 2, 3, 4] | x > 2) = x; end foreach.>", "34"},
    {"SetIndex", "<.var s = [10, 20, 30]; = s[0] ~ s[-1] ~ '|' ~ s[3] ~ '|'.>", "1030||"},
    {"SetNamedElement", "<.var s = [a = 1, b = 2]; = s['b'].>", "2"},
    {"SetAssignElement", "<.var s = [1, 2, 3]; s[1] = 9; = s[1].>", "9"},
    {"SubSetRange", "<.foreach (x in [1, 2, 3, 4, 5][1:3]) = x; end foreach.>", "234"},
    {"SubSetSelectors", "<.foreach (x in [1, 2, 3, 4, 5][0, -1]) = x; end foreach.>", "15"},
    {"FilterExpression",
     "<.var f = [x = [1, 2, 3, 4] | x % 2 = 0]; foreach (y in f) = y; end foreach.>", "24"},
    {"Membership", "<.if (2 in [1, 2, 3]) = 'in'; end if; if (not (5 in [1, 2])) = 'out'; end if.>",
     "inout"},
    {"FunctionResult", "<.function add(a, b) result = a + b; end function; = add(2, 3).>", "5"},
    {"NestedSameFunctionArguments",
     "<.function add(a, b) result = a + b; end function; = add(add(1, 2), add(3, 4)).>", "10"},
    {"Recursion",
     "<.function fact(n) if (n <= 1) result = 1; else result = n * fact(n - 1); end if; end "
     "function; = fact(10).>",
     "3628800"},
    {"Fib",
     "<.function fib(n) if (n < 2) result = n; else result = fib(n - 1) + fib(n - 2); end if; end "
     "function; = fib(15).>",
     "610"},
    {"MissingArgumentEmpty", "<.function f(a, b) result = a ~ '|' ~ b; end function; = f(1).>",
     "1|"},
    {"SurplusArgumentNotEvaluated",
     "<.var n = 0; function g() n = n + 1; end function; function f(a) result = a; end function; = "
     "f(1, g()) ~ n.>",
     "10"},
    {"NamedArguments", "<.function f(a, b) result = a ~ b; end function; = f(b = 1, a = 2).>",
     "21"},
    {"ByReference",
     "<.function inc(x) x = x + 1; end function; var n = 1; inc(ref n); inc(ref n); = n.>", "3"},
    {"ByReferenceOneCallOnly",
     "<.function f(x) x = 'w'; end function; var n = 1; f(ref n); n = 5; f(); = n.>", "5"},
    {"ByReferenceInRecursion",
     "<.function sum(acc, k) acc = acc + k; if (k > 0) sum(ref acc, k - 1); end if; end function; "
     "var t = 0; sum(ref t, 4); = t.>",
     "10"},
    {"ResultKeepsPreviousValue",
     "<.function f(a) if (a) result = a; end if; end function; = f(7) ~ f(false).>", "77"},
    {"NestedActivationKeepsOuterLocals",
     "<.function f(n) var v = n * 10; if (n > 0) f(n - 1); end if; = v ~ ' '; end function; f(2).>",
     "0 10 20 "},
    {"InPlaceUpdatesInNestedActivations",
     "<.function f(n) var c = n; c += 10; c -= n; if (n > 0) f(n - 1); end if; c *= 2; = c ~ ' ';"
     " end function; f(2); var t = 'a'; t += 'b'; var d = 1; d += 2.5; d += 1; = t ~ d.>",
     "20 20 20 ab4.5"},
    {"FirstActivationKeepsItsValues",
     "<.function f() var n; n = n + 1; result = n; end function; = f() ~ f() ~ f().>", "123"},
    {"ByReferenceToOwnLocalInRecursion",
     "<.function f(a, d) var t = d; if (d > 0) f(ref t, d - 1); end if; a = 'set' ~ d; result = t; "
     "end function;"
     " = f(0, 1).>",
     "set0"},
    {"FilterItemInRecursion",
     "<.function f(d) var s = [x = [1, 2, 3] | (d = 0 or f(d - 1) <> '') and x > 1]; var r = '';"
     " foreach (y in s) r = r ~ y; end foreach; result = r; end function; = f(1) ~ '|' ~ f(2).>",
     "23|23"},
    {"ExitFunction", "<.function f() result = 1; exit function; result = 2; end function; = f().>",
     "1"},
    {"ClassMembers",
     "<.class Point(x, y) var px = x; var py = y; function Sum() result = px + py; end function; "
     "end class;"
     " var a = Point(1, 2); var b = Point(10, 20); = a.Sum() ~ ',' ~ b.Sum() ~ ',' ~ a.px.>",
     "3,30,1"},
    {"MemberWrite",
     "<.class Box() var v = 0; function Get() result = v; end function; end class; var b = Box(); "
     "b.v = 4; = b.Get().>",
     "4"},
    {"ThisMember",
     "<.class C() var v = 3; function Twice() result = this.v * 2; end function; end class; var "
     "obj = C(); = obj.Twice().>",
     "6"},
    {"Inheritance",
     "<.class Base(n) var name = 'base' ~ n; function Who() result = 'B:' ~ name; end function; "
     "end class;"
     " class Derived = Base(n) var extra = n; function Who() result = 'D:' ~ base.Who() ~ ':' ~ "
     "extra; end function; end class;"
     " var d = Derived(7); = d.Who().>",
     "D:B:base7:7"},
    {"TryExcept", "<.try var x = 1 / 0; except = exception; end try.>", "Division by zero"},
    {"TryFinally", "<.try = 'a'; finally = 'b'; end try.>", "ab"},
    {"TryFinallyExitKept",
     "<.for (i = 1 to 3) try if (i = 2) exit for; end if; finally = 'f'; end try; = i; end for.>",
     "f1f"},
    {"CaptureOutput", "<.var s; assign (s) .>abc<.= 1.><. end assign; = '[' ~ s ~ ']'.>", "[abc1]"},
    {"FileWithoutTarget", "<.file ('') .>inner<. end file.>!", "inner!"},
    {"ExitFunctionFromFileBlock",
     "<.function f() file ('') = 'x'; exit function; end file; result = 'no'; end function; = "
     "f().>",
     "x"},
    {"EmptyEqualsEmptyText", "<.var e; if (e = '') = 'y'; end if; if (e <> 0) = 'z'; end if.>",
     "yz"},
    {"FilterSeesOuterNames", "<.var lim = 2; foreach (x in [1, 2, 3] | x > lim) = x; end foreach.>",
     "3"},
    {"FilteredSetSharesElements",
     "<.var a = 1; var b = 5; var s = [a, b]; var f = [x = s | x > 2]; f[0] = 9; = s[1].>", "9"},
    {"AddressOfNumberEmpty", "<.var x = 1; = '[' ~ @x ~ ']'.>", "[]"},
};

INSTANTIATE_TEST_SUITE_P(Evaluator, ScriptOutput, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace ozra::runtime::testing
