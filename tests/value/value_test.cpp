// The value record: layout, copying and ownership of texts and counted
// object references, and the helper predicates.
#include "value/value.h"

#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace ozra::value::testing {
namespace {

TEST(ValueTest, RecordLayoutMatchesTheVariant) {
    TtsValue value = TtsValue::FromBoolean(true);
    unsigned char bytes[16];
    std::memcpy(bytes, static_cast<const void*>(&value), sizeof bytes);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 11);     // kind code
    EXPECT_EQ(bytes[2] | bytes[3] << 8, 0);      // ownership word
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 0xFFFF); // true: all bits set
    EXPECT_EQ(static_cast<int>(TtsValue::FromText("x").Kind()), 0x100);
    EXPECT_EQ(EmptyValue.Kind(), ValueKind::Empty);
}

TEST(ValueTest, TextCopiesShareOneBlock) {
    TtsValue first = T("hello");
    CountedText* block = first.TextBlock();
    ASSERT_NE(block, nullptr);
    {
        TtsValue copy = first;
        TtsValue assigned;
        assigned = copy;
        EXPECT_EQ(block->RefCount(), 3u);
        EXPECT_EQ(assigned.Text(), "hello");
        TtsValue moved = std::move(copy);
        EXPECT_EQ(copy.Kind(), ValueKind::Empty);
        EXPECT_EQ(block->RefCount(), 3u);
    }
    EXPECT_EQ(block->RefCount(), 1u);
    first = first; // self-assignment keeps the value
    EXPECT_EQ(first.Text(), "hello");
    EXPECT_EQ(T("").TextBlock(), nullptr);
}

TEST(ValueTest, OnlyAnUnsharedTextGrowsInPlace) {
    TtsValue text = T("ab");
    EXPECT_TRUE(TtsValueHelper::IsUnsharedText(text));
    {
        TtsValue copy = text;
        EXPECT_FALSE(TtsValueHelper::IsUnsharedText(text));
    }
    EXPECT_FALSE(TtsValueHelper::IsUnsharedText(T("")));
    EXPECT_FALSE(TtsValueHelper::IsUnsharedText(TtsValue::FromWideText("ab")));
    // Growing past the room several times, also from the text's own bytes,
    // which move with the block.
    std::string expected = "ab";
    for (int round = 0; round < 6; ++round) {
        TtsValueHelper::AppendText(text, text.Text());
        expected += expected;
        TtsValueHelper::AppendText(text, "-");
        expected += "-";
    }
    EXPECT_EQ(text.Text(), expected);
    EXPECT_EQ(text.Text().data()[expected.size()], '\0');
    EXPECT_EQ(text.TextBlock()->RefCount(), 1u);
}

TEST(ValueTest, CountedObjectReferencesOwnTheirObject) {
    std::vector<std::string> log;
    Ref<Probe> probe = MakeRef<Probe>("p", &log);
    EXPECT_EQ(probe->RefCount(), 1);

    TtsValue plain = O(probe.Get());
    TtsValue plainCopy = plain;
    EXPECT_EQ(probe->RefCount(), 1);
    EXPECT_FALSE(TtsValueHelper::IsCounted(plainCopy));

    TtsValue counted = plain;
    TtsValueHelper::MarkCounted(counted);
    TtsValueHelper::MarkCounted(counted); // a second mark takes nothing
    EXPECT_EQ(probe->RefCount(), 2);
    TtsValue countedCopy = counted;
    EXPECT_TRUE(TtsValueHelper::IsCounted(countedCopy));
    EXPECT_EQ(probe->RefCount(), 3);

    countedCopy = I(1);
    counted.Clear();
    EXPECT_EQ(probe->RefCount(), 1);
    EXPECT_TRUE(log.empty());
}

TEST(ValueTest, ScriptObjectInOneCountedVariableIsFreedWhenOverwritten) {
    std::vector<std::string> log;
    TtsValue variable;
    {
        Ref<Probe> created = MakeRef<Probe>("list", &log);
        variable = TtsValue::FromCountedObject(created.Get());
    }
    EXPECT_TRUE(log.empty());
    variable = T("something else");
    EXPECT_EQ(log, std::vector<std::string>{"list"});
}

// An object holding a value, to check that a value can be assigned from
// storage that the overwritten value keeps alive.
class Holder : public TtsObjectZero {
  public:
    TtsValue inner = T("kept alive by the holder");
};

TEST(ValueTest, AssigningFromStorageOfTheOverwrittenObjectIsSafe) {
    TtsValue slot;
    {
        Ref<Holder> holder = MakeRef<Holder>();
        slot = TtsValue::FromCountedObject(holder.Get());
    }
    const TtsValue& inner = static_cast<Holder*>(slot.Object())->inner;
    slot = inner;
    EXPECT_EQ(slot.Text(), "kept alive by the holder");
}

TEST(ValueTest, HelperPredicates) {
    Ref<Probe> probe = MakeRef<Probe>("p", nullptr);
    struct Case {
        TtsValue value;
        bool empty;
        bool intLike;
    };
    const std::vector<Case> cases = {
        {E(), true, false},
        {N(), false, false},
        {O(nullptr), true, false},
        {O(probe.Get()), false, false},
        {I(5), false, true},
        {L(1LL << 40), false, true},
        {TtsValue::FromUInt8(200), false, true},
        {B(false), false, true},
        {D(2.0), false, false},
        {C(10000), false, false},
        {Dt(1.0), false, false},
        {T("12"), false, true},
        {T("-2147483648"), false, true},
        {T("2147483648"), false, false},
        {T("12.0"), false, false},
        {T(""), false, false},
        {TtsValue::FromWideText("7"), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Describe(c.value));
        EXPECT_EQ(TtsValueHelper::IsEmpty(c.value), c.empty);
        EXPECT_EQ(TtsValueHelper::IsIntLike(c.value), c.intLike);
    }
}

TEST(ValueTest, AutomationObjectsOwnTheirReference) {
    Ref<Probe> probe = MakeRef<Probe>("a", nullptr);
    {
        TtsValue automation = TtsValue::FromAutomation(probe);
        TtsValue copy = automation;
        EXPECT_EQ(probe->RefCount(), 3);
        EXPECT_EQ(copy.Automation(), probe.Get());
        EXPECT_EQ(copy.Object(), nullptr);
    }
    EXPECT_EQ(probe->RefCount(), 1);
}

} // namespace
} // namespace ozra::value::testing
