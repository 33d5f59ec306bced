// Conversions to truth values, integers, doubles and text, their error
// messages, and the number and date text forms.
#include "value/conversions.h"

#include "value/errors.h"
#include "value/number_text.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ozra::value::testing {
namespace {

struct ConversionCase {
    TtsValue value;
    std::string expected; // the result as text, or "!" + error message
};

template <class Convert>
void CheckConversions(const std::vector<ConversionCase>& cases, Convert convert) {
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(Describe(c.value));
        std::string outcome;
        try {
            outcome = convert(c.value);
        } catch (const EtsRuntime& error) {
            outcome = "!" + std::string(error.what());
        }
        EXPECT_EQ(outcome, c.expected);
    }
}

const std::string NullToBoolean = "!Could not convert variant of type (Null) into type (Boolean)";

TEST(ConversionTest, ToBoolean) {
    Ref<Probe> probe = MakeRef<Probe>("p", nullptr);
    CheckConversions(
        {
            {E(), "0"},
            {I(0), "0"},
            {I(-3), "1"},
            {TtsValue::FromUInt32(4000000000u), "1"},
            {D(0.5), "1"},
            {D(0.0), "0"},
            {C(0), "0"},
            {B(true), "1"},
            {T("TRUE"), "1"},
            {T("false"), "0"},
            {T("0"), "0"},
            {T("1.5"), "1"},
            {O(nullptr), "0"},
            {N(), NullToBoolean},
            {T(""), "!Could not convert variant of type (String) into type (Boolean)"},
            {T("yes"), "!Could not convert variant of type (String) into type (Boolean)"},
            {O(probe.Get()), "!Could not convert variant of type (Object) into type (Boolean)"},
        },
        [](const TtsValue& v) { return std::string(ToBoolean(v) ? "1" : "0"); });
}

TEST(ConversionTest, ToIntegerRoundsHalvesToEvenAndChecksTheRange) {
    const std::string doubleRange = "!Variant of type (Double) is out of range for type (Integer)";
    CheckConversions(
        {
            {E(), "0"},
            {B(true), "-1"},
            {D(2.5), "2"},
            {D(3.5), "4"},
            {D(-2.5), "-2"},
            {D(-0.4), "0"},
            {D(2147483647.4), "2147483647"},
            {D(-2147483648.5), "-2147483648"},
            {D(2147483647.5), doubleRange},
            {D(3e9), doubleRange},
            {D(std::nan("")), doubleRange},
            {D(std::numeric_limits<double>::infinity()), doubleRange},
            {C(25000), "2"},
            {C(35000), "4"},
            {C(-15000), "-2"},
            {Dt(1.5), "2"},
            {T("42"), "42"},
            {T(" -7 "), "-7"},
            {T("12.5"), "12"},
            {T("1e30"), "!Variant of type (String) is out of range for type (Integer)"},
            {L(1LL << 40), "!Variant of type (Int64) is out of range for type (Integer)"},
            {TtsValue::FromUInt32(4000000000u),
             "!Variant of type (UInt32) is out of range for type (Integer)"},
            {N(), "!Could not convert variant of type (Null) into type (Integer)"},
            {T("x"), "!Could not convert variant of type (String) into type (Integer)"},
        },
        [](const TtsValue& v) { return std::to_string(ToInteger(v)); });
}

TEST(ConversionTest, ToInt64AndToDouble) {
    CheckConversions(
        {
            {D(9.2e18), "9200000000000000000"},
            {D(1e19), "!Variant of type (Double) is out of range for type (Int64)"},
            {L(INT64_MIN), "-9223372036854775808"},
        },
        [](const TtsValue& v) { return std::to_string(ToInt64(v)); });
    CheckConversions(
        {
            {E(), "0"},
            {T("1e3"), "1000"},
            {T(" .5 "), "0.5"},
            {C(12345), "1.2345"},
            {B(true), "-1"},
            {L(1LL << 53), "9.007199254740992E+15"},
            {T("abc"), "!Could not convert variant of type (String) into type (Double)"},
            {T("inf"), "!Could not convert variant of type (String) into type (Double)"},
            {N(), "!Could not convert variant of type (Null) into type (Double)"},
        },
        [](const TtsValue& v) { return FormatDouble(ToDouble(v)); });
}

TEST(ConversionTest, ToText) {
    Ref<Probe> probe = MakeRef<Probe>("p", nullptr);
    CheckConversions(
        {
            {E(), ""},
            {I(-5), "-5"},
            {L(INT64_MIN), "-9223372036854775808"},
            {TtsValue::FromUInt8(200), "200"},
            {TtsValue::FromInt16(-300), "-300"},
            {D(12.5), "12.5"},
            {D(0.1), "0.1"},
            {D(-0.5), "-0.5"},
            {D(1.0 / 3.0), "0.3333333333333333"},
            {D(0.0001), "0.0001"},
            {D(0.00001), "0.00001"},
            {D(0.000001), "1E-6"},
            {D(100000000000000.0), "100000000000000"},
            {D(1e15), "1E+15"},
            {D(1e20), "1E+20"},
            {D(1.5e-7), "1.5E-7"},
            {D(123456.789), "123456.789"},
            {D(-0.0), "0"},
            {D(std::nan("")), "NaN"},
            {D(-std::numeric_limits<double>::infinity()), "-INF"},
            {TtsValue::FromSingle(0.1f), "0.1"},
            {C(-12345), "-1.2345"},
            {C(120000), "12"},
            {C(INT64_MIN), "-922337203685477.5808"},
            {B(true), "True"},
            {B(false), "False"},
            {Dt(0), "1899-12-30"},
            {Dt(2), "1900-01-01"},
            {Dt(45000.5), "2023-03-15 12:00:00"},
            {Dt(36526.75), "2000-01-01 18:00:00"},
            {Dt(-1.25), "1899-12-29 06:00:00"},
            {Dt(-657434), "0100-01-01"},
            {Dt(2958465.99999), "9999-12-31 23:59:59"},
            {Dt(1e7), "!Could not convert variant of type (Date) into type (String)"},
            {Dt(std::nan("")), "!Could not convert variant of type (Date) into type (String)"},
            {T("as is"), "as is"},
            {TtsValue::FromWideText("wide"), "wide"},
            {N(), "!Could not convert variant of type (Null) into type (String)"},
            {O(probe.Get()), "!Could not convert variant of type (Object) into type (String)"},
        },
        [](const TtsValue& v) { return ToText(v); });
}

TEST(ConversionTest, ToTextValueSharesText) {
    TtsValue text = T("shared");
    TtsValue converted = ToTextValue(text);
    EXPECT_EQ(converted.TextBlock(), text.TextBlock());
    EXPECT_EQ(ToTextValue(I(7)).Text(), "7");
    EXPECT_EQ(ToTextValue(E()).Kind(), ValueKind::Text);
}

TEST(NumberTextTest, ParsesIntegersAndDoubles) {
    struct Case {
        std::string_view text;
        std::optional<std::int32_t> integer;
        std::optional<double> real;
    };
    const std::vector<Case> cases = {
        {"12", 12, 12.0},
        {" +5\t", 5, 5.0},
        {"-2147483648", INT32_MIN, -2147483648.0},
        {"2147483648", std::nullopt, 2147483648.0},
        {"99999999999999999999", std::nullopt, 1e20},
        {"1.5", std::nullopt, 1.5},
        {"-1.5E-2", std::nullopt, -0.015},
        {".5", std::nullopt, 0.5},
        {"", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt},
        {"1 2", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"--1", std::nullopt, std::nullopt},
        {"1e999", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(ParseInt32(c.text), c.integer);
        EXPECT_EQ(ParseDouble(c.text), c.real);
    }
}

TEST(NumberTextTest, ShortestDoubleFormReadsBack) {
    for (double value : {0.1, 1.0 / 3.0, 2.0 / 3.0 * 1e-9, 6.02214076e23, 5e-324,
                         1.7976931348623157e308, 123456789012345.6, -98.76}) {
        const std::string text = FormatDouble(value);
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseDouble(text), value);
    }
}

} // namespace
} // namespace ozra::value::testing
