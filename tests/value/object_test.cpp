// Counted objects, the owning pointer and ordered object lists.
#include "value/object_list.h"

#include "value_test_support.h"

#include <gtest/gtest.h>

namespace ozra::value::testing {
namespace {

class Node : public TtsObject {
  public:
    Node(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
    ~Node() override { log_->push_back(name_); }

  private:
    std::string name_;
    std::vector<std::string>* log_;
};

TEST(ObjectTest, StartingCountsDecideWhoOwnsTheObject) {
    std::vector<std::string> log;
    TtsObject plain;
    EXPECT_EQ(plain.RefCount(), 1);
    {
        Ref<Node> owned = MakeRef<Node>("node", &log);
        EXPECT_EQ(owned->RefCount(), 1); // the creator's reference, adopted
        Ref<Probe> zero = MakeRef<Probe>("zero", &log);
        EXPECT_EQ(zero->RefCount(), 1); // counted from 0, one reference taken
        Ref<TtsObject> base = zero;
        EXPECT_EQ(zero->RefCount(), 2);
        Ref<TtsObject> moved = std::move(base);
        EXPECT_EQ(base, nullptr);
        EXPECT_EQ(zero->RefCount(), 2);
        TtsObject* detached = moved.Detach();
        Ref<TtsObject> adopted = Ref<TtsObject>::Adopt(detached);
        EXPECT_EQ(zero->RefCount(), 2);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"zero", "node"}));
}

TEST(ObjectTest, ListTakesCountedReferencesAndReleasesLastFirst) {
    std::vector<std::string> log;
    {
        TtsListOf<Node> list;
        Ref<Node> kept = MakeRef<Node>("kept", &log);
        list.Add(MakeRef<Node>("one", &log));
        list.Add(kept);
        list.Add(MakeRef<Node>("three", &log));
        list.Add(nullptr);
        EXPECT_EQ(kept->RefCount(), 2);
        EXPECT_EQ(list.Count(), 4);
        EXPECT_EQ(list.IndexOf(kept.Get()), 1);
        EXPECT_EQ(list[3], nullptr);

        TtsListOf<Node> copy = list;
        EXPECT_EQ(kept->RefCount(), 3);
        copy.Clear();
        list.Clear();
        EXPECT_EQ(log, (std::vector<std::string>{"three", "one"}));
        EXPECT_EQ(kept->RefCount(), 1);
        EXPECT_THROW(list.Item(0), EtsRuntime);
    }
    EXPECT_EQ(log.back(), "kept");
}

} // namespace
} // namespace ozra::value::testing
