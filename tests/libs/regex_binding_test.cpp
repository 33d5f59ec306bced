// The regex binding: compile options and errors, groups by number and name,
// the walk over matches, replacement variables, escaping, hostile subjects
// and patterns, and the independence of matches a caller keeps.
#include "libs/regex/pcre_regex.h"
#include "libs/regex/regex_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ozra::regex {
namespace {

using engine::CompileOption;

Ref<TRegexBase> Make(std::string_view pattern, RegexOptions options = 0) {
    return RegexClass.Create(pattern, "C", options);
}

std::string Message(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERegexException& error) {
        return error.what();
    }
    return "(no error)";
}

// Every match's "index:value", in order.
std::string Walk(std::string_view pattern, std::string_view subject, RegexOptions options = 0) {
    std::string out;
    for (Ref<TMatchBase> m = Make(pattern, options)->Match(SharedText(subject)); m->Success();
         m->NextMatch())
        out += std::to_string(m->Index()) + ":" + std::string(m->Value()) + " ";
    return out;
}

TEST(RegexOptions, AbstractOptionsSwitchTheirEngineFlags) {
    const RegexOptions i = OptionBit(RegexOption::IgnoreCase);
    const RegexOptions m = OptionBit(RegexOption::MultiLine);
    const RegexOptions s = OptionBit(RegexOption::SingleLine);
    const RegexOptions x = OptionBit(RegexOption::IgnorePatternWhitespace);
    const struct {
        std::string_view Pattern, Subject;
        RegexOptions Options;
        std::string Walk;
    } cases[] = {
        {"b", "ABC", 0, ""},
        {"b", "ABC", i, "1:B "},
        {"^b", "a\nb", 0, ""},
        {"^b", "a\nb", m, "2:b "},
        {"a.b", "a\nb", 0, ""},
        {"a.b", "a\nb", s, "0:a\nb "},
        {"a b", "ab", x, "0:ab "},
        {"a b", "ab", OptionBit(RegexOption(3)) | OptionBit(RegexOption(0)), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Walk(c.Pattern, c.Subject, c.Options), c.Walk) << c.Pattern;
}

TEST(RegexOptions, EngineOptionsReadBackFromTheCompiledPattern) {
    for (int member = 0; member <= static_cast<int>(CompileOption::FirstLine); ++member) {
        const auto option = static_cast<CompileOption>(member);
        if (option == CompileOption::Extra || option == CompileOption::Partial) continue;
        const auto compiled = engine::TRegex::Compile("a", engine::OptionBit(option));
        EXPECT_EQ(compiled->Options(), engine::OptionBit(option)) << member;
    }
}

TEST(RegexErrors, BadPatternsCarryTheEngineTextAndOffset) {
    const struct {
        std::string_view Pattern;
        std::string Message;
    } cases[] = {
        {"(", "Invalid Pattern '(': error at position 1: missing closing parenthesis"},
        {"a{2,1}", "Invalid Pattern 'a{2,1}': error at position 5: numbers out of order in {} quantifier"},
        {"(?<n>a)(?<n>b)", "Invalid Pattern '(?<n>a)(?<n>b)': error at position 12: two named subpatterns have the same name (PCRE2_DUPNAMES not set)"},
        {"[", "Invalid Pattern '[': error at position 1: missing terminating ] for character class"},
    };
    for (const auto& c : cases) EXPECT_EQ(Message([&] { Make(c.Pattern); }), c.Message);
    EXPECT_EQ(Message([] { RegexClass.Create("a", "no_such_locale", 0); }),
              "Invalid locale string no_such_locale or invalid locale category 0");
}

TEST(RegexErrors, CatastrophicBacktrackingStopsWithAClearError) {
    const std::string subject = std::string(40, 'a') + "!";
    for (const std::string_view pattern : {"^(a+)+$", "^(a|aa)+$"}) {
        const auto compiled = engine::TRegex::Compile(pattern, 0);
        try {
            compiled->Match(SharedText(subject));
            ADD_FAILURE() << "a catastrophic pattern finished";
        } catch (const ERegexException& error) {
            const std::string start = "Pattern '" + std::string(pattern) + "' is too costly to match: ";
            EXPECT_EQ(std::string(error.what()).rfind(start, 0), 0u)
                << error.what();
        }
    }
}

TEST(RegexGroups, NumberedNamedAndOutsideGroups) {
    Ref<TMatchBase> m = Make("(?<key>\\w+)=(\\d+)?(x)?")->Match(SharedText("-- k= rest"));
    ASSERT_TRUE(m->Success());
    EXPECT_EQ(m->GroupCount(), 4);
    const struct {
        int Group;
        std::int64_t Index, Length;
        std::string_view Value;
        bool IsNull;
    } cases[] = {
        {0, 3, 2, "k=", false},   {1, 3, 1, "k", false},       {2, -1, 0, "", true},
        {3, -1, 0, "", true},     {-1, 0, 3, "-- ", false},    {-2, 5, 5, " rest", false},
    };
    for (const auto& c : cases) {
        const Ref<TGroupBase> g = m->Groups(c.Group);
        EXPECT_EQ(g->Index(), c.Index) << c.Group;
        EXPECT_EQ(g->Length(), c.Length) << c.Group;
        EXPECT_EQ(g->Value(), c.Value) << c.Group;
        EXPECT_EQ(g->IsNull(), c.IsNull) << c.Group;
    }
    EXPECT_EQ(m->GroupByName("key")->Value(), "k");
    for (const int bad : {4, 100, -3}) {
        EXPECT_THROW(m->Groups(bad), ERegexException);
        EXPECT_EQ(m->SafeGroup(bad)->Length(), -1);
    }
    const Ref<TGroupBase> unknown = m->GroupByName("nope");
    EXPECT_EQ(unknown->Index(), -1);
    EXPECT_EQ(unknown->Length(), -1);
    EXPECT_TRUE(unknown->IsNull());
}

TEST(RegexGroups, FailedMatchHasNoGroups) {
    Ref<TMatchBase> m = Make("a+")->Match(SharedText("xyz"));
    EXPECT_FALSE(m->Success());
    EXPECT_EQ(m->GroupCount(), 0);
    EXPECT_EQ(m->Value(), "");
    EXPECT_EQ(m->SafeGroup(0)->Length(), -1);
}

TEST(RegexWalk, EveryMatchOnceAndEmptyMatchesMoveOn) {
    const struct {
        std::string_view Pattern, Subject, Walk;
    } cases[] = {
        {"x*", "ab", "0: 1: 2: "},
        {"a", "aaa", "0:a 1:a 2:a "},
        {"\\d+", "a1b22c", "1:1 3:22 "},
        {"a*", "baac", "0: 1:aa 3: 4: "},
        {"(?<=a)b", "abab", "1:b 3:b "},
        {"", "", "0: "},
        {"z", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Walk(c.Pattern, c.Subject), c.Walk) << c.Pattern;
}

TEST(RegexWalk, HostileSubjectsAreBytes) {
    const std::string binary("a\0b\xff\xfe\x80" "a", 7);
    EXPECT_EQ(Walk("a", binary), "0:a 6:a ");
    EXPECT_EQ(Walk("\\x00", binary), std::string("1:\0 ", 4));
    EXPECT_EQ(Walk("[\\x80-\\xff]+", binary), "3:\xff\xfe\x80 ");
    // A UTF-8 pattern over invalid UTF-8 fails clearly instead of reading
    // past a sequence.
    const auto utf = engine::TRegex::Compile("a", engine::OptionBit(CompileOption::Utf8));
    EXPECT_THROW(utf->Match(SharedText(binary)), ERegexException);
}

TEST(RegexWalk, MatchesOutliveTheirRegexAndEachOther) {
    Ref<TMatchBase> first;
    Ref<TGroupBase> group;
    {
        Ref<TRegexBase> regex = Make("(\\w)\\w*");
        first = regex->Match(SharedText("one two three"));
        group = first->Groups(1);
        Ref<TMatchBase> second = regex->Match(SharedText("four"));
        second->NextMatch();
    }
    first->NextMatch();
    EXPECT_EQ(first->Value(), "two");
    EXPECT_EQ(group->Value(), "o");
    EXPECT_EQ(first->Groups(1)->Value(), "t");
    first->NextMatch();
    first->NextMatch();
    EXPECT_FALSE(first->Success());
    EXPECT_EQ(group->Index(), 0);
}

TEST(RegexReplace, Variables) {
    const struct {
        std::string_view Pattern, Subject, Replacement, Result;
    } cases[] = {
        {"(\\w+):(\\w+)", "me:host", "$2 at $1", "host at me"},
        {"(\\w+):(\\w+)", "me:host", "$0|$&|$$|$+", "me:host|me:host|$|host"},
        {":", "a:b", "[$`|$''|$_]", "a[a|b|a:b]b"},
        {":", "a:b", "$'x", "a$'xb"},
        {"(?<n>\\d)", "a1", "${n}${n}", "a11"},
        {"\\d+", "a1b22", "<$&>", "a<1>b<22>"},
        {"x*", "abc", "-", "-a-b-c-"},
        {"a*", "aab", "-", "--b-"},
        {"(a)|(b)", "b", "[$1]", "[]"},
        {"q", "abc", "$9", "abc"},
        {"b", "abc", "$", "a$c"},
        {"b", "abc", "${unclosed", "a${unclosedc"},
    };
    for (const auto& c : cases) {
        std::string result;
        const bool replaced = Make(c.Pattern)->Replace(SharedText(c.Subject), c.Replacement, result);
        EXPECT_EQ(result, c.Result) << c.Pattern << " " << c.Replacement;
        EXPECT_EQ(replaced, c.Pattern != "q") << c.Pattern;
    }
}

TEST(RegexReplace, BadVariablesFail) {
    const struct {
        std::string_view Replacement;
        std::string Message;
    } cases[] = {
        {"$9", "Invalid substitution variable $9"},
        {"$3", "Invalid substitution variable $3"},
        {"$99999999999", "Invalid substitution variable $2147483647"},
        {"${nope}", "Invalid group name 'nope'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Message([&] { Make("(\\w+):(\\w+)")->Replace(SharedText("me:host"), c.Replacement); }),
                  c.Message);
    }
}

TEST(RegexEscape, LiteralsAndReplacements) {
    const struct {
        std::string_view Text;
        bool WholeWord;
        std::string_view Pattern;
    } cases[] = {
        {"a.b", false, "a\\.b"},
        {"a.b", true, "\\ba\\.b\\b"},
        {"x y\t1\r\n", false, "x y\\t1\\r\\n"},
        {"$(a)", false, "\\$\\(a\\)"},
        {"\x01\x7f\x80\xffz", false, "z"},
        {"", true, "\\b\\b"},
    };
    for (const auto& c : cases) {
        const std::string pattern = TRegexBase::EscapeLiteral(c.Text, c.WholeWord);
        EXPECT_EQ(pattern, c.Pattern);
        if (c.Text == "$(a)") {
            EXPECT_EQ(Walk(pattern, "x$(a)"), "1:$(a) ");
        }
    }
    EXPECT_EQ(TRegexBase::EscapeReplacement("$1 $$"), "$$1 $$$$");
    EXPECT_EQ(Make("b")->Replace(SharedText("abc"), TRegexBase::EscapeReplacement("$&")), "a$&c");
}

}  // namespace
}  // namespace ozra::regex
