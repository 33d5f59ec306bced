// The string library through the host, as scripts reach it: every method
// with its edge cases, named regex arguments, argument counts and errors.
#include "libs/match_base_lib.h"
#include "libs/string_lib.h"
#include "runtime/host.h"
#include "runtime/result.h"
#include "value/conversions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ozra::libs {
namespace {

using value::MakeRef;
using value::Ref;
using value::TtsValue;

struct Arg {
    TtsValue Value;
    std::string Name = {};
};

TtsValue T(std::string_view text) {
    return TtsValue::FromText(text);
}
TtsValue I(std::int64_t number) {
    return TtsValue::FromInteger(number);
}
TtsValue B(bool flag) {
    return TtsValue::FromBoolean(flag);
}

// A result as text; a set as its elements in brackets, joined by "|".
std::string Show(const TtsValue& value) {
    if (auto* set = front::NodeCast<front::TtsSet>(dynamic_cast<front::TtsNode*>(value.Object()))) {
        std::string out = "[";
        for (const auto& element : set->Elements)
            out += value::ToText(element->Value()) + "|";
        return out + "]";
    }
    return value::ToText(value);
}

class StringLib : public ::testing::Test {
  protected:
    StringLib() : context(host.Get()) {
        MakeRef<TtsLibString>(*host);
        MakeRef<raw::TtsLibMatch>(*host);
    }

    TtsValue Call(const TtsValue& receiver, std::string_view method, const std::vector<Arg>& args) {
        front::TtsExpressions list;
        for (const Arg& arg : args) {
            auto constant = MakeRef<front::TtsConst>(nullptr);
            constant->OwnValue = arg.Value;
            constant->Name = arg.Name;
            list.Add(std::move(constant));
        }
        runtime::TtsHostValue value(receiver);
        host->CallMethod(value, method, context, args.empty() ? nullptr : &list);
        return value.Value();
    }

    std::string Error(const TtsValue& receiver, std::string_view method,
                      const std::vector<Arg>& args) {
        try {
            Call(receiver, method, args);
        } catch (const value::EtsException& error) {
            return error.what();
        }
        return "(no error)";
    }

    Ref<runtime::TtsHost> host = MakeRef<runtime::TtsHost>();
    runtime::TtsResult context;
};

TEST_F(StringLib, MethodsAndTheirEdges) {
    const struct {
        TtsValue Receiver;
        std::string_view Method;
        std::vector<Arg> Args;
        std::string Result;
    } cases[] = {
        {T("abc"), "Length", {}, "3"},
        {TtsValue(), "Length", {}, "0"},
        {I(1234), "Length", {}, "4"},
        {T("abc"), "IndexOf", {{T("c")}}, "2"},
        {T("abc"), "IndexOf", {{T("")}}, "-1"},
        {T("abc"), "IndexOf", {{T("x")}}, "-1"},
        {T("abc"), "Contains", {{T("")}}, "False"},
        {T("abc"), "Contains", {{T("bc")}}, "True"},
        {T("abc"), "StartsWith", {{T("")}}, "False"},
        {T("abc"), "StartsWith", {{T("ab")}}, "True"},
        {T("abc"), "EndsWith", {{T("")}}, "False"},
        {T("abc"), "EndsWith", {{T("abcd")}}, "False"},
        {T("abc"), "EndsWith", {{T("bc")}}, "True"},
        {T("abcdef"), "SubString", {{I(-3)}, {I(2)}}, "ab"},
        {T("abcdef"), "SubString", {{I(4)}, {I(10)}}, "ef"},
        {T("abcdef"), "SubString", {{I(6)}, {I(1)}}, ""},
        {T("abcdef"), "SubString", {{I(1)}, {I(-1)}}, ""},
        {T("abcdef"), "Delete", {{I(1)}, {I(2)}}, "adef"},
        {T("abcdef"), "Delete", {{I(-1)}, {I(2)}}, "abcdef"},
        {T("abcdef"), "Delete", {{I(4)}, {I(99)}}, "abcd"},
        {T("abcdef"), "Delete", {{I(6)}, {I(1)}}, "abcdef"},
        {T("abcdef"), "Delete", {{I(1)}, {I(0)}}, "abcdef"},
        {T("abc"), "Right", {{I(5)}}, "abc"},
        {T("abc"), "Right", {{I(2)}}, "bc"},
        {T("abc"), "Right", {{I(-2)}}, ""},
        {T("abc"), "Left", {{I(-1)}}, ""},
        {T("abc"), "Left", {{I(2)}}, "ab"},
        {T("abc"), "Left", {{I(9)}}, "abc"},
        {T("ab"), "Replicate", {{I(3)}}, "ababab"},
        {T("ab"), "Replicate", {{I(0)}}, ""},
        {T("ab"), "Replicate", {{I(-4)}}, ""},
        {T("abc"), "Reverse", {}, "cba"},
        {T("it's"), "Quote", {}, "'it''s'"},
        {T(""), "Quote", {}, "''"},
        {T("aaa"), "Replace", {{T("")}, {T("b")}}, "aaa"},
        {T("aaa"), "Replace", {{T("aa")}, {T("b")}}, "ba"},
        {T("a.a"), "Replace", {{T("a")}, {T("aa")}}, "aa.aa"},
        {T("Hello World"), "ToLowerCamelCase", {}, "hello World"},
        {T("hello"), "ToUpperCamelCase", {}, "Hello"},
        {T("\xe9t\xe9"), "ToUpperCamelCase", {}, "\xe9t\xe9"},
        {T(""), "ToLowerCamelCase", {}, ""},
        {T("aB\xc9z"), "ToUpper", {}, "AB\xc9Z"},
        {T("aB\xc9z"), "ToLower", {}, "ab\xc9z"},
        {T("AB"), "ToHexString", {}, "4142"},
        {T("\xff\x00"), "ToHexString", {}, "FF"},
        {T("A"), "ToByte", {}, "65"},
        {T(""), "ToByte", {}, "0"},
        {T("\xe9"), "ToByte", {}, "233"},
        {I(321), "ToChar", {}, "A"},
        {T(" \t\x01x y\n "), "Trim", {}, "x y"},
        {T(" x "), "TrimStart", {}, "x "},
        {T(" x "), "TrimEnd", {}, " x"},
        {T("   "), "Trim", {}, ""},
        {T("abc"), "SameTo", {{T("ABC")}}, "True"},
        {T("abc"), "SameTo", {{T("ABD")}}, "False"},
        {T("\xe9"), "SameTo", {{T("\xc9")}}, "False"},
        {T("a"), "Concat", {{T("b")}, {I(1)}, {TtsValue()}}, "ab1"},
        {T(""), "IsNullOrEmpty", {}, "True"},
        {TtsValue(), "IsNullOrEmpty", {}, "True"},
        {TtsValue::Null(), "IsNullOrEmpty", {}, "True"},
        {T(" "), "IsNullOrEmpty", {}, "False"},
        {I(0), "IsNullOrEmpty", {}, "False"},
        {T("12"), "ToNumber", {}, "12"},
        {T("  -12"), "ToNumber", {}, "-12"},
        {T("$1F"), "ToNumber", {}, "31"},
        {T("0x1f"), "ToNumber", {}, "31"},
        {T("-xFF"), "ToNumber", {}, "-255"},
        {T("$FFFFFFFF"), "ToNumber", {}, "-1"},
        {T("2.7"), "ToNumber", {{B(true)}}, "2"},
        {T("-2.7"), "ToNumber", {{B(true)}}, "-2"},
        {T("2.7"), "ToNumber", {}, "2.7"},
        {T("1.5e3"), "ToNumber", {}, "1500"},
        {T("%d-%s"), "Format", {{I(5)}, {T("x")}}, "5-x"},
        {TtsValue(), "Format", {{T("%.3d")}, {I(7)}}, "007"},
        {T("%5s|%-5s|%.2s"), "Format", {{T("ab")}, {T("cd")}, {T("xyz")}}, "   ab|cd   |xy"},
        {T("%x %.4X %u"), "Format", {{I(255)}, {I(10)}, {I(-1)}}, "FF 000A 4294967295"},
        {T("%1:s %0:s %s"), "Format", {{T("a")}, {T("b")}}, "b a b"},
        {T("%*d|%-*d|"), "Format", {{I(4)}, {I(7)}, {I(3)}, {I(1)}}, "   7|1  |"},
        {T("%f %.1f %.0f"),
         "Format",
         {{TtsValue::FromDouble(2.5)}, {TtsValue::FromDouble(2.25)}, {I(3)}},
         "2.50 2.2 3"},
        {T("%e"), "Format", {{TtsValue::FromDouble(1234.5)}}, "1.23450000000000E+003"},
        {T("%g %g"),
         "Format",
         {{TtsValue::FromDouble(1.5)}, {TtsValue::FromDouble(1e20)}},
         "1.5 1E20"},
        {T("%n %m"),
         "Format",
         {{TtsValue::FromDouble(1234567.891)}, {TtsValue::FromDouble(-1234.5)}},
         "1,234,567.89 -$1,234.50"},
        {T("%p %%"), "Format", {{I(255)}}, "000000FF %"},
        {T("x"), "Compare", {{TtsValue()}}, "-9"},
        {T("x"), "Compare", {{TtsValue::Null()}}, "-9"},
        {T(""), "Compare", {{TtsValue()}}, "0"},
        {T("abc"), "Compare", {{T("ABC")}}, "1"},
        {T("a"), "Compare", {{T("b")}}, "-1"},
        {I(2), "Compare", {{T("10")}}, "-1"},
        {T("a,b,,c"), "RegexSplit", {{T(",")}}, "[a|b||c|]"},
        {T("abc"), "RegexSplit", {{T("x")}}, "[abc|]"},
        {T(""), "RegexSplit", {{T(",")}}, "[|]"},
        {T("a1b22"), "RegexReplace", {{T("\\d+")}, {T("<$&>")}}, "a<1>b<22>"},
        {T("aXbx"), "RegexReplace", {{T("x")}, {T("-")}, {T("i")}}, "a-b-"},
        {T("aXbx"),
         "RegexReplace",
         {{T("x")}, {T("-"), "Replace"}, {B(true), "IgnoreCase"}},
         "a-b-"},
        {T("a1b22c"), "RegexMatchs", {{T("\\d+")}}, "[1|22|]"},
        {T("a1b22c"), "RegexMatches", {{T("z")}}, "[]"},
        {T("ABC"), "RegexIsMatch", {{T("b")}, {T("i")}}, "True"},
        {T("ABC"), "RegexIsMatch", {{T("b")}, {T("I")}}, "False"},
        {T("ABC"), "RegexIsMatch", {{T("b"), "Pattern"}, {T("i"), "Option"}}, "True"},
        {T("ABC"), "RegexIsMatch", {{T("b")}, {B(true), "IgnoreCase"}}, "True"},
        {T("a\nb"), "RegexIsMatch", {{T("a.b")}, {B(false), "IgnoreCase"}}, "False"},
        {T("a\nb"), "RegexIsMatch", {{T("a.b")}, {B(true), "SingleLine"}}, "True"},
        {T("a\nB"), "RegexIsMatch", {{T("^b")}, {T("mi")}}, "True"},
        {T("ab"), "RegexIsMatch", {{T("a b")}, {B(true), "IgnorePatternWhitespace"}}, "True"},
        {T("\xe9x"), "RegexIsMatch", {{T("\\xe9")}, {T(""), "Locale"}}, "True"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Show(Call(c.Receiver, c.Method, c.Args)), c.Result)
            << Show(c.Receiver) << "." << c.Method;
    }
}

TEST_F(StringLib, NumberKinds) {
    const struct {
        std::string_view Text;
        bool Truncate;
        value::ValueKind Kind;
    } cases[] = {
        {"12", false, value::ValueKind::Int32},
        {"12", true, value::ValueKind::Int64},
        {"2.7", false, value::ValueKind::Double},
        {"2.7", true, value::ValueKind::Int64},
    };
    for (const auto& c : cases) {
        std::vector<Arg> args;
        if (c.Truncate) args.push_back({B(true)});
        EXPECT_EQ(Call(T(c.Text), "ToNumber", args).Kind(), c.Kind) << c.Text;
    }
}

TEST_F(StringLib, CaseSettingChangesCompare) {
    EXPECT_EQ(Show(Call(T("x"), "Settings", {{B(false), "Case"}})), "False");
    EXPECT_FALSE(host->CaseSensitive());
    EXPECT_EQ(Show(Call(T("abc"), "Compare", {{T("ABC")}})), "0");
    Call(T("x"), "Settings", {{B(true), "case"}});
    EXPECT_EQ(Show(Call(T("abc"), "Compare", {{T("ABC")}})), "1");
}

TEST_F(StringLib, Errors) {
    const struct {
        TtsValue Receiver;
        std::string_view Method;
        std::vector<Arg> Args;
        std::string Message;
    } cases[] = {
        {T("%d"), "Format", {}, "no enough parameters."},
        {T("a"), "Length", {{I(1)}}, "too many parameters."},
        {T("a"), "ToNumber", {{B(true)}, {B(true)}}, "too many parameters."},
        {T("a"), "Replace", {{T("a")}}, "no enough parameters."},
        {T("a"), "Nope", {}, "function Nope not found."},
        {T("%d %d"), "Format", {{I(1)}}, "No argument for format '%d %d'"},
        {T("%d"), "Format", {{T("x")}}, "Format '%d' invalid or incompatible with argument"},
        {T("%k"), "Format", {{I(1)}}, "Format '%k' invalid or incompatible with argument"},
        {T("%5"), "Format", {{I(1)}}, "Format '%5' invalid or incompatible with argument"},
        {T("%999999999d"),
         "Format",
         {{I(1)}},
         "Format '%999999999d' invalid or incompatible with argument"},
        {T("12x"), "ToNumber", {}, "'12x' is not a valid integer value"},
        {T("99999999999"), "ToNumber", {}, "'99999999999' is not a valid integer value"},
        {T(""), "ToNumber", {}, "'' is not a valid integer value"},
        {T("1.2.3"), "ToNumber", {}, "'1.2.3' is not a valid floating point value"},
        {T("1e999.0"), "ToNumber", {}, "'1e999.0' is not a valid floating point value"},
        {TtsValue::Null(),
         "Length",
         {},
         "Could not convert variant of type (Null) into type (String)"},
        {T("x"), "Settings", {{B(true)}}, "parameter Case not found."},
        {T("x"),
         "RegexIsMatch",
         {{T("(")}},
         "Invalid Pattern '(': error at position 1: missing closing parenthesis"},
        {T("x"), "RegexReplace", {{T("x")}, {T("$3")}}, "Invalid substitution variable $3"},
        {T("x"), "RegexMatch", {{T("x")}, {T("nofunction")}}, "function nofunction not found."},
        {T("x"),
         "RegexIsMatch",
         {{T("x")}, {T("zz_ZZ"), "Locale"}},
         "Invalid locale string zz_ZZ or invalid locale category 0"},
        {T("ab"), "Replicate", {{I(2000000000)}}, "Text too long"},
        {I(0), "FromPointer", {{I(8)}}, "address 8 cannot be read."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Error(c.Receiver, c.Method, c.Args), c.Message) << c.Method;
}

TEST_F(StringLib, FromPointerReadsATerminatedString) {
    static const char text[] = "pointed at";
    const auto address = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(text));
    EXPECT_EQ(Show(Call(TtsValue(), "FromPointer", {{I(address)}})), "pointed at");
    EXPECT_EQ(Show(Call(TtsValue(), "FromPointer", {{I(0)}})), "");
}

TEST_F(StringLib, HeavyPatternsStopWithAnErrorNamingThePattern) {
    const std::string subject = std::string(40, 'a') + "!";
    const std::string message = Error(T(subject), "RegexIsMatch", {{T("^(a|aa)+$")}});
    EXPECT_EQ(message.rfind("Pattern '^(a|aa)+$' is too costly to match: ", 0), 0u) << message;
}

} // namespace
} // namespace ozra::libs
