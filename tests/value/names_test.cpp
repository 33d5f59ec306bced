// Word-at-a-time name folding checked against the plain byte-by-byte rule
// (only A-Z fold) over names of every length around the word size, with
// bytes chosen to trip the folding: letters, their neighbours '@', '[', '`',
// '{', and high bytes whose low seven bits look like letters.
#include "value/names.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ozra::value {
namespace {

int ReferenceCompare(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int ca = FoldAscii(static_cast<unsigned char>(a[i]));
        const int cb = FoldAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int Sign(int x) {
    return (x > 0) - (x < 0);
}

TEST(NamesTest, WordFoldingAgreesWithTheByteRule) {
    const std::string alphabet = "aAzZbB@[`{_09\xC1\xE1\xDA\xFA\x80\xFF";
    std::mt19937 random(20240611);
    const auto randomName = [&](std::size_t length) {
        std::string name;
        for (std::size_t i = 0; i < length; ++i)
            name += alphabet[random() % alphabet.size()];
        return name;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::size_t length = random() % 20;
        const std::string a = randomName(length);
        // b: a with some bytes case-flipped or replaced, or of another length.
        std::string b = round % 5 == 0 ? randomName(random() % 20) : a;
        for (char& c : b) {
            if (random() % 4 == 0) c = static_cast<char>(c ^ 0x20);
        }
        SCOPED_TRACE(::testing::PrintToString(a) + " vs " + ::testing::PrintToString(b));
        const int expected = ReferenceCompare(a, b);
        ASSERT_EQ(Sign(CompareNames(a, b)), expected);
        ASSERT_EQ(NamesEqual(a, b), expected == 0);
        if (expected == 0) {
            ASSERT_EQ(NameHash(a), NameHash(b));
        }
    }
}

TEST(NamesTest, OnlyAsciiLettersFold) {
    struct Case {
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    for (const Case& c :
         std::vector<Case>{{"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", true},
                           {"@[", "`{", false},
                           {"\xC1", "\xE1", false},
                           {"name_with_9_digits", "NAME_WITH_9_DIGITS", true},
                           {"", "", true}}) {
        EXPECT_EQ(NamesEqual(c.a, c.b), c.equal) << c.a << " vs " << c.b;
    }
}

} // namespace
} // namespace ozra::value
