// Every operator code over the value kinds it meets, with the expected
// result (kind and text) or error message; then comparison results and the
// unary operators.
#include "value/operators.h"

#include "value/errors.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace ozra::value::testing {
namespace {

class OperatorTest : public ::testing::Test {
  protected:
    Ref<Probe> first = MakeRef<Probe>("first", nullptr);
    Ref<Probe> second = MakeRef<Probe>("second", nullptr);
};

struct BinaryCase {
    char code;
    TtsValue left;
    TtsValue right;
    std::string expected; // Describe() of the result, or "!" + message
    bool caseSensitive = true;
};

std::string Invalid(std::string_view left, std::string_view right) {
    return "!Invalid variant operation on types (" + std::string(left) + ") and (" +
           std::string(right) + ")";
}
const std::string DivisionByZero = "!Division by zero";
const std::string TextToDouble = "!Could not convert variant of type (String) into type (Double)";

TEST_F(OperatorTest, BinaryOperators) {
    TtsObject* a = first.Get();
    TtsObject* b = second.Get();
    const std::vector<BinaryCase> cases = {
        // ~ concatenates texts of anything that has one.
        {'~', I(1), I(2), "String:12"},
        {'~', T("a"), E(), "String:a"},
        {'~', D(2.5), B(true), "String:2.5True"},
        {'~', N(), I(1), "!Could not convert variant of type (Null) into type (String)"},
        {'~', O(a), T("x"), "!Could not convert variant of type (Object) into type (String)"},

        // + adds numbers and concatenates texts.
        {'+', I(1), I(2), "Integer:3"},
        {'+', T("1"), T("2"), "String:12"},
        {'+', E(), T("x"), "String:x"},
        {'+', T("x"), E(), "String:x"},
        {'+', E(), E(), "Empty"},
        {'+', E(), I(5), "Integer:5"},
        {'+', N(), I(1), "Null"},
        {'+', T("a"), N(), "Null"},
        {'+', T("a"), I(1), TextToDouble},
        {'+', T("1.5"), I(1), "Double:2.5"},
        {'+', T("2"), I(1), "Double:3"},
        {'+', I(INT32_MAX), I(1), "Int64:2147483648"},
        {'+', L(INT64_MAX), I(1), "Double:9.223372036854776E+18"},
        {'+', TtsValue::FromInt16(-3), TtsValue::FromUInt8(250), "Integer:247"},
        {'+', D(0.5), I(1), "Double:1.5"},
        {'+', TtsValue::FromSingle(0.5f), TtsValue::FromSingle(0.25f), "Double:0.75"},
        {'+', C(15000), I(2), "Currency:3.5"},
        {'+', C(15000), D(0.25), "Double:1.75"},
        {'+', C(INT64_MAX), C(10000), "Double:922337203685478.6"},
        {'+', Dt(1), I(1), "Date:1900-01-01"},
        {'+', I(1), Dt(1), "Date:1900-01-01"},
        {'+', B(true), I(1), "Integer:0"},
        {'+', O(a), I(1), Invalid("Object", "Integer")},
        {'+', I(1), O(a), Invalid("Integer", "Object")},
        {'+', O(a), N(), Invalid("Object", "Null")},

        {'-', I(5), I(7), "Integer:-2"},
        {'-', T("5"), T("2"), "Double:3"},
        {'-', T("5"), E(), "Double:5"},
        {'-', E(), I(3), "Integer:-3"},
        {'-', I(INT32_MIN), I(1), "Int64:-2147483649"},
        {'-', L(INT64_MIN), I(1), "Double:-9.223372036854776E+18"},
        {'-', Dt(3), Dt(1), "Double:2"},
        {'-', Dt(3), I(1), "Date:1900-01-01"},
        {'-', C(10000), C(2500), "Currency:0.75"},

        {'*', I(65536), I(65536), "Int64:4294967296"},
        {'*', L(1LL << 62), I(4), "Double:1.8446744073709552E+19"},
        {'*', C(25000), C(20000), "Currency:5"},
        {'*', C(10001), C(5000), "Currency:0.5"},
        {'*', C(10003), C(5000), "Currency:0.5002"},
        {'*', C(25000), I(3), "Currency:7.5"},
        {'*', T("3"), I(2), "Double:6"},
        {'*', Dt(2), I(2), "Double:4"},
        {'*', T("x"), T("2"), TextToDouble},

        // / always gives a double.
        {'/', I(1), I(2), "Double:0.5"},
        {'/', I(4), I(2), "Double:2"},
        {'/', T("1"), T("4"), "Double:0.25"},
        {'/', I(1), I(0), DivisionByZero},
        {'/', D(1), D(0), DivisionByZero},
        {'/', I(1), E(), DivisionByZero},
        {'/', E(), E(), "Empty"},
        {'/', N(), I(0), "Null"},
        {'/', E(), I(4), "Double:0"},

        {'\\', I(7), I(2), "Integer:3"},
        {'\\', I(-7), I(2), "Integer:-3"},
        {'\\', D(7.5), I(2), "Integer:4"},
        {'\\', T("9"), T("2"), "Integer:4"},
        {'\\', I(1), I(0), DivisionByZero},
        {'\\', I(INT32_MIN), I(-1), "Int64:2147483648"},
        {'\\', L(INT64_MIN), I(-1), "Double:9.223372036854776E+18"},

        {'%', I(7), I(3), "Integer:1"},
        {'%', I(-7), I(3), "Integer:-1"},
        {'%', L(INT64_MIN), I(-1), "Integer:0"},
        {'%', I(1), I(0), DivisionByZero},
        {'%', D(1e300), I(2), "!Variant of type (Double) is out of range for type (Int64)"},
        {'%', O(a), I(2), Invalid("Object", "Integer")},

        // ^ works in double precision, with exact integers when they fit.
        {'^', I(3), I(20), "Int64:3486784401"},
        {'^', I(2), I(10), "Integer:1024"},
        {'^', I(-2), I(3), "Integer:-8"},
        {'^', I(2), D(0.5), "Double:1.4142135623730951"},
        {'^', I(2), I(-1), "Double:0.5"},
        {'^', I(2), I(64), "Double:1.8446744073709552E+19"},
        {'^', I(-1), L(INT64_MAX), "Integer:-1"},
        {'^', I(0), I(0), "Integer:1"},
        {'^', I(0), I(-1), DivisionByZero},
        {'^', T("2"), I(3), "Double:8"},
        {'^', D(1.5), I(2), "Double:2.25"},
        {'^', E(), E(), "Empty"},
        {'^', N(), I(2), "Null"},

        // Bitwise operators: logical for two booleans.
        {'A', I(12), I(10), "Integer:8"},
        {'O', I(12), I(10), "Integer:14"},
        {'X', I(12), I(10), "Integer:6"},
        {'A', B(true), B(false), "Boolean:False"},
        {'O', B(true), B(false), "Boolean:True"},
        {'X', B(true), B(true), "Boolean:False"},
        {'A', B(true), I(6), "Integer:6"},
        {'O', L(1LL << 40), I(1), "Int64:1099511627777"},
        {'A', D(2.5), I(3), "Integer:2"},
        {'X', N(), I(1), "Null"},
        {'A', T("x"), I(1), "!Could not convert variant of type (String) into type (Int64)"},

        // Shifts: << widens like *, >> keeps the sign, counts are checked.
        {'L', I(1), I(4), "Integer:16"},
        {'L', I(1), I(31), "Int64:2147483648"},
        {'L', I(3), I(63), "Double:2.7670116110564327E+19"},
        {'L', I(1), I(100), "Double:1.2676506002282294E+30"},
        {'L', I(0), I(1000), "Integer:0"},
        {'L', I(1), I(-1), "!Invalid shift count -1"},
        {'R', I(-8), I(1), "Integer:-4"},
        {'R', I(-8), I(100), "Integer:-1"},
        {'R', I(8), I(64), "Integer:0"},
        {'R', L(1LL << 40), I(8), "Int64:4294967296"},
        {'R', I(8), T("-2"), "!Invalid shift count -2"},

        // Comparisons.
        {'=', E(), T(""), "Boolean:True"},
        {'=', E(), I(0), "Boolean:False"},
        {'n', E(), I(0), "Boolean:True"},
        {'=', N(), E(), "Boolean:True"},
        {'=', T("12"), I(12), "Boolean:True"},
        {'=', I(12), T("12"), "Boolean:True"},
        {'=', T("12.5"), D(12.5), "Boolean:False"},
        {'l', T("12.5"), D(12.5), "Boolean:True"},
        {'g', D(12.5), T("12.5"), "Boolean:True"},
        {'n', D(12.5), T("12.5"), "Boolean:True"},
        {'=', T("abc"), T("ABC"), "Boolean:False"},
        {'=', T("abc"), T("ABC"), "Boolean:True", false},
        {'<', T("B"), T("a"), "Boolean:True"},
        {'<', T("B"), T("a"), "Boolean:False", false},
        {'>', T("b"), T("a"), "Boolean:True"},
        {'=', O(a), O(a), "Boolean:True"},
        {'=', O(a), TtsValue::FromCountedObject(a), "Boolean:True"},
        {'=', O(a), O(b), "Boolean:False"},
        {'<', O(a), O(b), "Boolean:False"},
        {'>', O(a), O(b), "Boolean:False"},
        {'l', O(a), O(b), "Boolean:True"},
        {'g', O(a), O(b), "Boolean:True"},
        {'n', O(a), O(b), "Boolean:True"},
        {'=', O(a), E(), "Boolean:False"},
        {'=', O(a), I(1), "Boolean:False"},
        {'<', I(1), D(1.5), "Boolean:True"},
        {'>', L(INT64_MAX), D(9.2e18), "Boolean:True"},
        {'=', L(INT64_MAX), D(9223372036854775807.0), "Boolean:False"},
        {'=', C(15000), D(1.5), "Boolean:True"},
        {'=', C(10000), I(1), "Boolean:True"},
        {'<', C(INT64_MAX), L(INT64_MAX), "Boolean:True"},
        {'=', B(true), I(-1), "Boolean:True"},
        {'<', T("abc"), I(5), "Boolean:False"},
        {'l', T("abc"), I(5), "Boolean:True"},
        {'g', Dt(2), I(1), "Boolean:True"},

        // Logic: both operands' truth values.
        {'&', B(true), I(0), "Boolean:False"},
        {'|', T("true"), E(), "Boolean:True"},
        {'&', B(false), N(), "!Could not convert variant of type (Null) into type (Boolean)"},
        {'|', T(""), B(true), "!Could not convert variant of type (String) into type (Boolean)"},

        // Codes without a table entry give Empty.
        {'r', T("a"), T("a"), "Empty"},
        {'z', T("a"), T("a"), "Empty"},
        {'x', T("a"), T("a"), "Empty"},
        {'t', I(1), I(1), "Empty"},
        {'y', I(1), I(1), "Empty"},
        {'i', I(1), I(1), "Empty"},
        {'?', I(1), I(1), "Empty"},
        {'\0', I(1), I(1), "Empty"},
        {static_cast<char>(0xFF), I(1), I(1), "Empty"},
    };
    for (const BinaryCase& c : cases) {
        SCOPED_TRACE(std::string("'") + c.code + "' " + Describe(c.left) + ", " +
                     Describe(c.right) + (c.caseSensitive ? "" : ", case off"));
        EXPECT_EQ(Outcome([&] {
                      return TtsOperatorHelper::Binary(c.code, c.left, c.right, c.caseSensitive);
                  }),
                  c.expected);
    }
}

TEST_F(OperatorTest, CompareResults) {
    struct Case {
        TtsValue left;
        TtsValue right;
        CompareResult expected;
    };
    const std::vector<Case> cases = {
        {E(), N(), CompareResult::Equal},
        {T(""), E(), CompareResult::Equal},
        {E(), I(0), CompareResult::Incomparable},
        {O(first.Get()), O(second.Get()), CompareResult::Incomparable},
        {T("a"), T("b"), CompareResult::Less},
        {I(3), T("2"), CompareResult::Greater},
        {D(2.0), T("2"), CompareResult::Equal},
        {T("2.0"), I(2), CompareResult::Incomparable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.left) + ", " + Describe(c.right));
        EXPECT_EQ(TtsOperatorHelper::Compare(c.left, c.right, true), c.expected);
    }
}

TEST_F(OperatorTest, UnaryOperators) {
    struct Case {
        char code;
        TtsValue operand;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {'!', B(true), "Boolean:False"},
        {'!', I(0), "Boolean:True"},
        {'!', E(), "Boolean:True"},
        {'!', N(), "!Could not convert variant of type (Null) into type (Boolean)"},
        {'N', I(0), "Integer:-1"},
        {'N', L(1LL << 40), "Int64:-1099511627777"},
        {'N', B(true), "Boolean:False"},
        {'N', D(1.5), "Integer:-3"},
        {'N', N(), "Null"},
        {'N', O(first.Get()), "!Invalid variant operation on type (Object)"},
        {'-', I(1), "Empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("'") + c.code + "' " + Describe(c.operand));
        EXPECT_EQ(Outcome([&] { return TtsOperatorHelper::Unary(c.code, c.operand); }), c.expected);
    }
}

TEST_F(OperatorTest, ConcatenationSharesAnUnchangedText) {
    TtsValue text = T("alone");
    TtsValue sum = TtsOperatorHelper::Binary('+', text, E(), true);
    EXPECT_EQ(sum.TextBlock(), text.TextBlock());
}

} // namespace
} // namespace ozra::value::testing
