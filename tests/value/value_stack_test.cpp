// Saved values across nested activations, and the slot-pointer stack.
#include "value/value_stack.h"

#include "value_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ozra::value::testing {
namespace {

// What a function variable does on every write: save, then store.
void Write(TtsValueStack& stack, TtsValue& slot, TtsValue value) {
    stack.Save(slot, true);
    slot = std::move(value);
}

TEST(ValueStackTest, NestedActivationsRestoreTheirSlots) {
    TtsValueStack stack;
    TtsValue n;
    TtsValue result;

    stack.Enter(); // the outer call saves nothing
    Write(stack, n, I(1));
    Write(stack, result, T("outer"));
    EXPECT_EQ(stack.Depth(), 1);

    stack.Enter();
    Write(stack, n, I(2));
    Write(stack, n, I(22)); // the second write in one activation saves nothing
    stack.Enter();
    Write(stack, n, I(3));
    Write(stack, result, T("innermost"));
    EXPECT_EQ(Describe(n), "Integer:3");

    stack.Leave();
    EXPECT_EQ(Describe(n), "Integer:22");
    EXPECT_EQ(Describe(result), "String:outer");
    stack.Leave();
    EXPECT_EQ(Describe(n), "Integer:1");
    stack.Leave();
    EXPECT_EQ(Describe(n), "Integer:1"); // leaving the outer call keeps its values
    EXPECT_EQ(stack.Depth(), 0);
    EXPECT_THROW(stack.Leave(), std::logic_error);
}

TEST(ValueStackTest, CountedReferencesAreHandedOverAndReleased) {
    std::vector<std::string> log;
    TtsValueStack stack;
    TtsValue slot;
    Ref<Probe> outer = MakeRef<Probe>("outer", &log);

    stack.Enter();
    Write(stack, slot, TtsValue::FromCountedObject(outer.Get()));
    stack.Enter();
    Write(stack, slot, T("temporary"));
    EXPECT_EQ(outer->RefCount(), 2); // the saved copy holds the slot's reference
    {
        Ref<Probe> inner = MakeRef<Probe>("inner", &log);
        Write(stack, slot, TtsValue::FromCountedObject(inner.Get()));
    }
    stack.Leave();
    EXPECT_EQ(log, std::vector<std::string>{"inner"});
    EXPECT_EQ(slot.Object(), outer.Get());
    EXPECT_TRUE(TtsValueHelper::IsCounted(slot));
    EXPECT_EQ(outer->RefCount(), 2);
    stack.Leave();
    slot.Clear();
    EXPECT_EQ(outer->RefCount(), 1);
}

TEST(ValueStackTest, SaveWithoutReleaseKeepsTheSlotValue) {
    TtsValueStack stack;
    TtsValue slot = T("kept");
    stack.Enter();
    stack.Enter();
    stack.Save(slot, false);
    EXPECT_EQ(slot.Text(), "kept");
    slot = I(5);
    stack.Leave();
    EXPECT_EQ(slot.Text(), "kept");
}

TEST(PValueStackTest, PopsInReverseOrder) {
    TtsPValueStack stack;
    TtsValue a;
    TtsValue b;
    stack.Push(&a);
    stack.Push(&b);
    EXPECT_EQ(stack.Count(), 2);
    EXPECT_EQ(stack.Pop(), &b);
    EXPECT_EQ(stack.Pop(), &a);
    EXPECT_TRUE(stack.IsEmpty());
    EXPECT_THROW(stack.Pop(), std::logic_error);
}

} // namespace
} // namespace ozra::value::testing
