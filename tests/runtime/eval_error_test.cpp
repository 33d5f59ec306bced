// Errors raised by the evaluator: their exact messages, and that a failed
// run leaves the tree usable.
#include "eval_test_support.h"

namespace ozra::runtime::testing {

using namespace value;
namespace {

struct ErrorCase {
    const char* Name;
    const char* Script;
    const char* Message;
};

class ScriptError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ScriptError, RaisesExactMessage) {
    const ErrorCase& c = GetParam();
    EXPECT_EQ(RunScript(c.Script).Error, c.Message);
}

const ErrorCase kErrors[] = {
    {"UnknownVariable", "<.= y.>", "variable y not found."},
    {"UnknownFunction", "<.= g(1).>", "function g not found."},
    {"UnknownDotted", "<.= a.b.>", "a.b not found."},
    {"LibraryWithoutSystem", "<.Runtime.Delay(1).>", "Runtime.Delay not found."},
    {"UnknownElement", "<.var s = [a = 1]; = s['k'].>", "element k not found."},
    {"UnknownMember", "<.class K() var v = 1; end class; var obj = K(); = obj.w.>", "w not found."},
    {"UnknownMethod", "<.class K() end class; var obj = K(); obj.M().>", "function M not found."},
    {"UnknownNamedArgument", "<.function f(a) end function; f(z = 1).>", "parameter z not found."},
    {"BaseWithoutBaseClass",
     "<.class K() function M() base.M(); end function; end class; var obj = K(); obj.M().>",
     "base not found."},
    {"TryWithoutExceptKeepsMessage", "<.try = 1 / 0; end try.>", "Division by zero"},
    {"SubSetPastEnd", "<.var s = [1, 2][0:5]; = s[0].>", "List index out of bounds (2)"},
    {"DeepRecursion", "<.function r(n) result = r(n + 1); end function; = r(0).>",
     "stack overflow."},
};

INSTANTIATE_TEST_SUITE_P(Evaluator, ScriptError, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return std::string(info.param.Name); });

// A failing call restores the saved values of nested activations, so the
// same tree runs correctly again.
TEST(EvaluatorRecovery, TreeRunsAgainAfterAnError) {
    const char* script = "<.function f(n) var local = n; if (n = 3) var boom = 1 / 0; end if;"
                         " if (n < 5) f(n + 1); end if; result = local; end function;"
                         " try = f(1); except = 'E'; end try; = f(4).>";
    EXPECT_EQ(RunScript(script).Output, "E4");
}

TEST(EvaluatorRecovery, StateStaysInTheTreeBetweenRuns) {
    EXPECT_EQ(RunScript("<.function f() end function; var x; x = x ~ 'a'; = x.>", 2).Output, "aaa");
}

} // namespace
} // namespace ozra::runtime::testing
