// The Base64 and Base32 codecs of the string helper: known texts both
// ways, the lenient decoding rules of the stored format, and the round trip
// of every byte value.
#include "data/data_error.h"
#include "data/string_helper.h"

#include <gtest/gtest.h>

namespace ozra::data {
namespace {

using namespace std::string_literals;

TEST(StringCodecs, Base64KnownTextsBothWays) {
    const struct {
        std::string Bytes;
        const char* Text;
    } cases[] = {
        {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},
        {"foo", "Zm9v"},    {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {"ab", "YWI="},    {"\xFB\xFF\x00"s, "+/8A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TStringHelper::Base64Encode(c.Bytes), c.Text);
        EXPECT_EQ(TStringHelper::Base64Decode(c.Text), c.Bytes) << c.Text;
    }
}

TEST(StringCodecs, Base32KnownTextsBothWays) {
    const struct {
        std::string Bytes;
        const char* Text;
    } cases[] = {
        {"", ""},
        {"a", "MEAA0000"},
        {"ab", "MFRAA000"},
        {"abc", "MFRGGA00"},
        {"abcd", "MFRGGZA0"},
        {"abcde", "MFRGGZDF"},
        {"abcdef", "MFRGGZDFMYAA0000"},
        {"\xFF\x00\x10"s, "95ABAA00"},
        {"Hello, World", "JBSWY3DPFQQFO33SNRSAA000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TStringHelper::Base32Encode(c.Bytes), c.Text);
        EXPECT_EQ(TStringHelper::Base32Decode(c.Text), c.Bytes) << c.Text;
    }
}

TEST(StringCodecs, DecodingFollowsTheStoredFormatsRules) {
    // Padding anywhere shortens the output; foreign characters are the
    // highest digit; more padding than output gives nothing, never a fault.
    EXPECT_EQ(TStringHelper::Base64Decode("=WI="), "\x01"s);
    EXPECT_EQ(TStringHelper::Base64Decode("YW*="), "ao");
    EXPECT_EQ(TStringHelper::Base64Decode("===="), "");
    EXPECT_EQ(TStringHelper::Base32Decode("00000000"), "");
    EXPECT_EQ(TStringHelper::Base32Decode("ME8A0000"), "a");

    const struct {
        const char* Text;
        bool Base64;
        const char* Message;
    } refused[] = {
        {"YWI", true, "Base64: Incorrect string format"},
        {"YW I=x", true, "Base64: Incorrect string format"},
        {"MEAA000", false, "Base32: Incorrect string format"},
    };
    for (const auto& r : refused) {
        try {
            r.Base64 ? TStringHelper::Base64Decode(r.Text) : TStringHelper::Base32Decode(r.Text);
            ADD_FAILURE() << r.Text << " decoded";
        } catch (const EDataError& error) {
            EXPECT_STREQ(error.what(), r.Message);
        }
    }
}

TEST(StringCodecs, EveryByteValueRoundTripsAtEveryLength) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(255 - i);
    for (std::size_t length = 0; length <= 12; ++length) {
        const std::string piece = bytes.substr(length * 17 % 200, length);
        EXPECT_EQ(TStringHelper::Base64Decode(TStringHelper::Base64Encode(piece)), piece);
        EXPECT_EQ(TStringHelper::Base32Decode(TStringHelper::Base32Encode(piece)), piece);
    }
    EXPECT_EQ(TStringHelper::Base64Decode(TStringHelper::Base64Encode(bytes)), bytes);
    EXPECT_EQ(TStringHelper::Base32Decode(TStringHelper::Base32Encode(bytes)), bytes);
}

} // namespace
} // namespace ozra::data
