// Name tables: case-insensitive lookup, storage order, duplicate names,
// replacement, merging, not-found messages and release of their objects.
#include "value/name_table.h"

#include "value/errors.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

namespace ozra::value::testing {
namespace {

class NameTableTest : public ::testing::Test {
  protected:
    Ref<TtsObject> Make(const std::string& name) { return MakeRef<Probe>(name, &released); }

    std::vector<std::string> released;
};

std::vector<std::string> Names(const TtsHash& table) {
    std::vector<std::string> names;
    for (int i = 0; i < table.Count(); ++i)
        names.emplace_back(table.Name(i));
    return names;
}

TEST_F(NameTableTest, StorageDecidesIterationOrder) {
    TtsUserIds sorted;
    TtsParameters hashed;
    for (const char* name : {"beta", "Alpha", "gamma", "_x", "ALPHA2"}) {
        sorted.Add(name, Make(name));
        hashed.Add(name, Make(name));
    }
    EXPECT_EQ(Names(sorted), (std::vector<std::string>{"_x", "Alpha", "ALPHA2", "beta", "gamma"}));
    EXPECT_EQ(Names(hashed), (std::vector<std::string>{"beta", "Alpha", "gamma", "_x", "ALPHA2"}));
    EXPECT_EQ(sorted.IndexOf("GAMMA"), 4);
    EXPECT_EQ(hashed.IndexOf("GAMMA"), 2);
    EXPECT_EQ(sorted.IndexOf("delta"), -1);
    EXPECT_EQ(sorted.Find("Beta"), sorted.Item(3));
}

TEST_F(NameTableTest, FindIgnoresTheCaseOfAsciiLettersOnly) {
    TtsUserIds table;
    Ref<TtsObject> x = Make("x");
    table.AddCounted("MyVar", x.Get());
    table.AddCounted("caf\xC3\xA9", x.Get());
    struct Case {
        std::string_view name;
        bool found;
    };
    for (const Case& c : std::vector<Case>{{"myvar", true},
                                           {"MYVAR", true},
                                           {"MyVa", false},
                                           {"MyVarX", false},
                                           {"CAF\xC3\xA9", true},
                                           {"caf\xC3\x89", false},
                                           {"", false}}) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(table.Find(c.name) != nullptr, c.found);
    }
}

TEST_F(NameTableTest, LargeTablesFindEveryName) {
    TtsParameters table;
    for (int i = 0; i < 1000; ++i)
        table.Add("Name" + std::to_string(i), Make(std::to_string(i)));
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(table.IndexOf("NAME" + std::to_string(i)), i);
    }
    EXPECT_EQ(table.Find("name1000"), nullptr);
}

TEST_F(NameTableTest, DuplicateNameKeepsTheOldEntryAndReleasesTheNewObject) {
    TtsUserIds table;
    table.Add("x", Make("old"));
    TtsObject* old = table.Find("x");
    try {
        table.Add("x", Make("new"));
        FAIL() << "no error";
    } catch (const EtsException& error) {
        EXPECT_STREQ(error.what(), "x already exists.");
    }
    EXPECT_THROW(table.Add("X", Make("newer")), EtsException);
    EXPECT_EQ(table.Find("x"), old);
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(released, (std::vector<std::string>{"new", "newer"}));
}

TEST_F(NameTableTest, AllowReplacePutsTheNewObjectInPlaceAndReleasesTheOld) {
    TtsUserIds table;
    table.Add("x", Make("old"));
    table.SetAllowReplace(true);
    Ref<TtsObject> replacement = Make("new");
    table.AddCounted("X", replacement.Get());
    EXPECT_EQ(table.Find("x"), replacement.Get());
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(released, std::vector<std::string>{"old"});
    EXPECT_EQ(replacement->RefCount(), 2);
}

class Hidden : public Probe {
  public:
    using Probe::Probe;
};

TEST_F(NameTableTest, MergeAddsCountedEntriesExceptTheSkippedClass) {
    TtsUserIds source;
    source.Add("a", Make("source a"));
    source.Add("b", MakeRef<Hidden>("source b", &released));
    source.Add("c", Make("source c"));
    TtsUserIds target;
    target.Add("A", Make("target a"));

    target.MergeSkipping<Hidden>(source);

    EXPECT_EQ(Names(target), (std::vector<std::string>{"A", "c"}));
    EXPECT_EQ(target.Find("a"), source.Find("a"));
    EXPECT_EQ(target.Find("b"), nullptr);
    EXPECT_EQ(source.Find("c")->RefCount(), 2);
    EXPECT_FALSE(target.AllowReplace());
    EXPECT_EQ(released, std::vector<std::string>{"target a"});

    target.SetAllowReplace(true);
    target.Merge(source, [](const TtsObject&) { return false; });
    EXPECT_TRUE(target.AllowReplace()); // a merge leaves the switch as it found it
    EXPECT_EQ(target.Count(), 3);
}

TEST_F(NameTableTest, FindOrFailRaisesTheMessageOfItsClass) {
    TtsUserIds names;
    TtsParameters parameters;
    struct Case {
        const TtsHash* table;
        std::string message;
    };
    for (const Case& c :
         std::vector<Case>{{&names, "p not found."}, {&parameters, "parameter p not found."}}) {
        try {
            c.table->FindOrFail("p");
            ADD_FAILURE() << "no error";
        } catch (const EtsException& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

TEST_F(NameTableTest, RemoveAllReleasesTheLastEntryFirst) {
    {
        TtsUserIds table;
        table.Add("b", Make("b"));
        table.Add("a", Make("a"));
        table.Add("c", Make("c"));
        table.RemoveAll();
        EXPECT_EQ(released, (std::vector<std::string>{"c", "a", "b"}));
        EXPECT_EQ(table.Count(), 0);
        EXPECT_EQ(table.Find("a"), nullptr);
        table.Add("a", Make("again"));
    }
    EXPECT_EQ(released.back(), "again");
}

TEST_F(NameTableTest, PositionOutOfRangeIsAListIndexError) {
    TtsUserIds table;
    table.Add("a", nullptr);
    EXPECT_EQ(table.Item(0), nullptr);
    EXPECT_NE(table.IndexOf("a"), -1);
    try {
        table.Name(1);
        FAIL() << "no error";
    } catch (const EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (1)");
    }
}

} // namespace
} // namespace ozra::value::testing
