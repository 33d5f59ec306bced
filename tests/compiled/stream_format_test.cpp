// The stream's bytes, pinned by hand so that the format cannot drift with
// the writer: compact integers, values, a hand-assembled stream, and the
// bad streams a loader must refuse with a clear error.
#include "compiled/stream_bytes.h"
#include "compiled/tts_compiler.h"
#include "front/tree_dump.h"
#include "runtime/evaluator.h"
#include "runtime/result.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <optional>

namespace ozra::compiled {
namespace {

using Bytes = std::vector<int>;

std::string Text(const Bytes& bytes) {
    std::string text;
    for (int byte : bytes)
        text.push_back(static_cast<char>(byte));
    return text;
}

Bytes Of(const std::string& text) {
    Bytes bytes;
    for (char c : text)
        bytes.push_back(static_cast<unsigned char>(c));
    return bytes;
}

TEST(StreamFormat, CompactIntegers) {
    struct Case {
        std::int32_t value;
        Bytes forward;
        Bytes backward;
    };
    const std::vector<Case> cases = {
        {0, {0}, {0}},
        {1, {6}, {6}},
        {249, {254}, {254}},
        {250, {1, 250}, {250, 1}},
        {256, {2, 0, 1}, {1, 0, 2}},
        {300, {2, 0x2C, 0x01}, {0x01, 0x2C, 2}},
        {0x12345678, {4, 0x78, 0x56, 0x34, 0x12}, {0x12, 0x78, 0x56, 0x34, 4}},
        {-1, {255, 6}, {}},
        {-300, {255, 2, 0x2C, 0x01}, {}},
        {INT32_MIN, {4, 0, 0, 0, 0x80}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        std::string forward;
        AppendCompact(forward, c.value);
        EXPECT_EQ(Of(forward), c.forward);
        ByteReader reader(forward);
        EXPECT_EQ(reader.Compact(), c.value);
        EXPECT_TRUE(reader.AtEnd());
        // A trailer is never negative.
        if (c.backward.empty()) continue;
        std::string backward;
        AppendBackwardCompact(backward, c.value);
        EXPECT_EQ(Of(backward), c.backward);
        const Trailer trailer = ReadTrailer("prefix" + backward);
        EXPECT_EQ(trailer.Value, c.value);
        EXPECT_EQ(trailer.Length, backward.size());
    }
}

TEST(StreamFormat, ReadersAcceptEveryLegalSpelling) {
    // A count of 5 keeps the low 32 bits; a long form of a small number is
    // still that number.
    EXPECT_EQ(ByteReader(Text({5, 1, 0, 0, 0, 0xFF})).Compact(), 1);
    EXPECT_EQ(ByteReader(Text({1, 7})).Compact(), 7);
    EXPECT_THROW(ByteReader(Text({2, 1})).Compact(), EtsCompiler);
}

TEST(StreamFormat, Values) {
    struct Case {
        const char* name;
        value::TtsValue value;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {"text", value::TtsValue::FromText("abc"), {2, 0, 1, 8, 'a', 'b', 'c'}},
        {"integer", value::TtsValue::FromInt32(300), {8, 2, 0x2C, 0x01}},
        {"16-bit integer", value::TtsValue::FromInt16(-2), {8, 255, 7}},
        {"true", value::TtsValue::FromBoolean(true), {16, 1, 255}},
        {"false", value::TtsValue::FromBoolean(false), {16, 0}},
        {"byte", value::TtsValue::FromUInt8(7), {22, 12}},
        {"null", value::TtsValue::Null(), {6, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"double",
         value::TtsValue::FromDouble(1.5),
         {10, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        AppendValue(out, c.value);
        EXPECT_EQ(Of(out), c.bytes);
        ByteReader reader(out);
        const StreamValue read = reader.Value();
        EXPECT_EQ(read.Value.Kind(), c.value.Kind() == value::ValueKind::Int16
                                         ? value::ValueKind::Int32
                                         : c.value.Kind());
        EXPECT_TRUE(reader.AtEnd());
    }
}

// A small assembler for hand-made streams: each block is its class, its
// number and its fields, spelled as compact integers and strings.
struct Field {
    std::string bytes;
};
Field Ref(int group, int field, int number) {
    std::string out;
    AppendCompact(out, group);
    AppendCompact(out, field);
    AppendCompact(out, number);
    return {out};
}
Field Int(int group, int field, int number) {
    return Ref(group, field, number);
}
Field Str(int group, int field, std::string_view text) {
    std::string out;
    AppendCompact(out, group);
    AppendCompact(out, field);
    AppendString(out, text);
    return {out};
}
Field List(std::initializer_list<int> items) {
    std::string out;
    AppendCompact(out, 4);
    AppendCompact(out, 0);
    AppendCompact(out, static_cast<std::int32_t>(items.size()));
    for (int item : items)
        AppendCompact(out, item);
    return {out};
}
Field Raw(const Bytes& bytes) {
    return {Text(bytes)};
}

struct Block {
    int classNumber;
    int number;
    std::vector<Field> fields;
};

std::string Own(const Block& block) {
    std::string own;
    AppendCompact(own, block.classNumber);
    AppendCompact(own, block.number);
    for (const Field& field : block.fields)
        own += field.bytes;
    return own;
}

std::string Assemble(const std::vector<Block>& blocks, bool scrambled = false) {
    std::string out = Text({84, 127, 119, 102, 6});
    AppendString(out, scrambled ? std::string_view("\x01", 1) : std::string_view());
    for (const Block& block : blocks) {
        std::string own = Own(block);
        if (scrambled) {
            auto previous = static_cast<unsigned char>(own.size());
            for (char& c : own) {
                const auto plain = static_cast<unsigned char>(c);
                c = static_cast<char>(plain ^ previous);
                previous = plain;
            }
        }
        AppendCompact(out, static_cast<std::int32_t>(own.size()));
        out += own;
    }
    AppendBackwardCompact(out, static_cast<std::int32_t>(out.size()));
    return out;
}

// A root block whose one statement is the text "hi".
std::vector<Block> HelloBlocks() {
    return {
        {44, 1, {Ref(44, 0, 2), Ref(44, 1, 4)}},
        {20, 2, {List({3})}},
        {43, 3, {Ref(22, 0, 1), Str(43, 0, "hi")}},
        {9, 4, {}},
    };
}

std::string RunText(const front::TtsBlock& root) {
    runtime::TtsResult context;
    runtime::Run(const_cast<front::TtsBlock&>(root), context);
    return context.Text;
}

TEST(StreamFormat, AHandAssembledStreamLoadsAndRuns) {
    const std::string plain = Assemble(HelloBlocks());
    EXPECT_EQ(Of(plain),
              (Bytes{84, 127, 119, 102, 6,  0, 13, 49, 6, 49, 0, 7, 49,  6,   9, 11, 25, 7, 9,
                     0,  6,   8,   15,  48, 8, 27, 0,  6, 48, 0, 7, 104, 105, 7, 14, 9,  41}));
    const auto loaded = TtsCompiler::Load(plain);
    EXPECT_EQ(front::DumpTree(*loaded), "TtsBlock names=[]\n  TtsText \"hi\"\n");
    EXPECT_EQ(RunText(*loaded), "hi");
    const auto unscrambled = TtsCompiler::Load(Assemble(HelloBlocks(), true));
    EXPECT_EQ(front::DumpTree(*unscrambled), front::DumpTree(*loaded));
}

std::string LoadError(const std::string& bytes) {
    try {
        TtsCompiler::Load(bytes);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "loaded";
}

TEST(StreamFormat, BadStreamsAreRefusedClearly) {
    const std::string good = Assemble(HelloBlocks());
    // The hello stream with one block replaced, and optionally one more
    // read right after the text's block.
    const auto with = [](std::size_t index, Block replacement,
                         std::optional<Block> extra = std::nullopt) {
        std::vector<Block> blocks = HelloBlocks();
        blocks[index] = std::move(replacement);
        if (extra) blocks.insert(blocks.begin() + 3, std::move(*extra));
        return Assemble(blocks);
    };
    std::string wrongMagic = good;
    wrongMagic[0] = 85;
    std::string truncated = good.substr(0, good.size() - 3);
    AppendBackwardCompact(truncated, static_cast<std::int32_t>(truncated.size()));
    std::string longTrailer = good;
    longTrailer.back() = static_cast<char>(200);
    const Bytes hugeBlock = {84, 127, 119, 102, 6, 0, 4, 0xFF, 0xFF, 0xFF, 0x7F, 0, 17};

    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"empty", "", "Stream read error"},
        {"wrong magic", wrongMagic, "Unsupported file format."},
        {"trailer before the start", longTrailer, "Unsupported file format."},
        {"negative trailer", good.substr(0, good.size() - 1) + "\xff", "Unsupported file format."},
        {"truncated block", truncated, "Stream read error"},
        {"huge block length", Text(hugeBlock), "Stream read error"},
        {"huge list count", with(1, {20, 2, {Raw({9, 0, 4, 0xFF, 0xFF, 0xFF, 0x7F})}}),
         "Stream read error"},
        {"unknown class", with(3, {2, 4, {}}), "[2] not found."},
        {"abstract class", with(3, {22, 4, {}}), "[22] not found."},
        {"script object", with(3, {66, 4, {}}), "[66] not found."},
        {"unknown field", with(2, {43, 3, {Str(43, 1, "x")}}), "[43, 1] not found."},
        {"field of another class", with(2, {43, 3, {Ref(47, 0, 1)}}), "[47, 0] not found."},
        {"field written twice", with(2, {43, 3, {Str(43, 0, "a"), Str(43, 0, "b")}}),
         "[43, 0] written twice."},
        {"number out of range", Assemble({{44, 1, {Ref(44, 1, 99999)}}, {9, 99999, {}}}),
         "object number 99999 out of range."},
        {"next block holds another object", with(3, {9, 5, {}}), "object 4 not found."},
        {"missing object", with(2, {43, 3, {Ref(22, 0, 7)}}), "object 7 not found."},
        {"own parent", with(2, {43, 3, {Ref(22, 0, 3)}}), "object 3 is its own ancestor."},
        {"root owns itself", with(1, {20, 2, {List({3, 1})}}), "object 1 owns itself."},
        {"statement twice", with(1, {20, 2, {List({3, 3})}}), "object 3 is owned twice."},
        {"list twice", with(0, {44, 1, {Ref(44, 0, 2), Ref(44, 1, 2)}}),
         "object 2 is owned twice."},
        {"link out of the tree", with(2, {43, 3, {Ref(22, 0, 5)}}, Block{43, 5, {}}),
         "object 5 is not part of the tree."},
        {"wrong class", Assemble({{44, 1, {Ref(44, 0, 2)}}, {9, 2, {}}}),
         "object 2 has the wrong class for [44, 0]."},
        {"root is no block", Assemble({{43, 1, {Str(43, 0, "x")}}}), "object 1 is not a block."},
        {"missing condition", with(1, {20, 2, {List({3, 5})}}, Block{47, 5, {Ref(22, 0, 1)}}),
         "object 5 lacks its Condition."},
        {"byte out of range",
         with(1, {20, 2, {List({3, 5})}}, Block{60, 5, {Ref(22, 0, 1), Int(60, 1, 300)}}),
         "[60, 1] out of range."},
        {"tag out of range", with(2, {43, 3, {Int(22, 2, 7)}}), "[22, 2] out of range."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadError(c.bytes), c.message);
    }
}

} // namespace
} // namespace ozra::compiled
