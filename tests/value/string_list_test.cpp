// The string list and its case-sensitivity switch.
#include "value/string_list.h"

#include "value/errors.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace ozra::value::testing {
namespace {

TEST(StringListTest, CaseSwitchDecidesEquality) {
    TStringListEx list;
    list.Add("Alpha");
    list.Add("beta");
    struct Case {
        bool caseSensitive;
        std::string_view text;
        int index;
    };
    for (const Case& c : std::vector<Case>{{false, "ALPHA", 0},
                                           {false, "Beta", 1},
                                           {true, "ALPHA", -1},
                                           {true, "Alpha", 0},
                                           {false, "gamma", -1}}) {
        SCOPED_TRACE(std::string(c.text));
        list.SetCaseSensitive(c.caseSensitive);
        EXPECT_EQ(list.IndexOf(c.text), c.index);
    }
}

TEST(StringListTest, CaseSwitchDecidesOrder) {
    struct Case {
        bool caseSensitive;
        std::string_view a;
        std::string_view b;
        int sign;
    };
    TStringListEx list;
    for (const Case& c : std::vector<Case>{{false, "abc", "ABD", -1},
                                           {false, "ABD", "abc", 1},
                                           {false, "abc", "ABC", 0},
                                           {false, "ab", "ABC", -1},
                                           {false, "", "a", -1},
                                           {true, "abc", "ABC", 1},
                                           {true, "ABC", "abc", -1},
                                           {true, "abc", "abc", 0}}) {
        SCOPED_TRACE(std::string(c.a) + " vs " + std::string(c.b));
        list.SetCaseSensitive(c.caseSensitive);
        const int order = list.CompareStrings(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.sign);
    }
}

TEST(StringListTest, ObjectsAreCountedAndPositionsChecked) {
    std::vector<std::string> log;
    TStringListEx list;
    list.Add("a", MakeRef<Probe>("a", &log));
    list.Insert(0, "first");
    list.Insert(2, "last", MakeRef<Probe>("last", &log));
    EXPECT_EQ(list.Strings(0), "first");
    EXPECT_EQ(list.Objects(0), nullptr);
    list.SetObject(1, nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"a"});
    list.Delete(2);
    EXPECT_EQ(log, (std::vector<std::string>{"a", "last"}));
    try {
        list.Insert(5, "x");
        FAIL() << "no error";
    } catch (const EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (5)");
    }
    EXPECT_THROW(list.Strings(-1), EtsRuntime);
}

} // namespace
} // namespace ozra::value::testing
