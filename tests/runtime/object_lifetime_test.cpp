// An object lives exactly as long as the script can reach it: what the
// evaluator computes on the way (a call's result, a receiver, an argument,
// a loop's collection and item, a class's "this" and "result") never keeps
// it alive after the statement that used it.
#include "eval_test_support.h"

#include "runtime/lib_base.h"

#include <memory>

namespace ozra::runtime::testing {
namespace {

using namespace value;

// An object that counts itself among the living while it exists.
class Tracked : public TtsObjectZero {
  public:
    explicit Tracked(std::shared_ptr<int> living) : living_(std::move(living)) { ++*living_; }
    ~Tracked() override { --*living_; }

  private:
    std::shared_ptr<int> living_;
};

// "System.Tracker": Make() answers a new tracked object, Living the number
// of tracked objects alive; a tracked object answers Touch() with itself
// and is a collection of itself and nothing more (x[0] is x).
class TrackerLibrary : public TtsLibBase {
  public:
    explicit TrackerLibrary(TtsHost& host) : TtsLibBase(host) {
        RegisterFor<Tracked>(AccessAll);
        RegisterFor<TrackerLibrary>(AccessAll);
        RegisterGlobal("Tracker", this);
        Publish({
            {"Make", Method<&TrackerLibrary::Make>, 0, 0},
            {"Living", Method<&TrackerLibrary::Living>, 0, 0},
            {"Touch", Method<&TrackerLibrary::Touch>, 0, 1},
        });
    }

    void GetItem(front::TtsExpression& out, TtsObject* object, TtsResult&,
                 const TtsValue& index) override {
        out.SetValue(index.Integer() == 0 ? TtsValue::FromObject(object) : TtsValue());
    }

  private:
    void Make(LibCall& call) { call.ReturnObject(MakeRef<Tracked>(living_).Get()); }
    void Living(LibCall& call) { call.ReturnInteger(*living_); }
    void Touch(LibCall&) {}

    std::shared_ptr<int> living_ = std::make_shared<int>(0);
};

std::string RunTracked(std::string_view text) {
    value::Ref<front::TtsBlock> root = ParseScript(text);
    auto host = MakeRef<TtsHost>();
    MakeRef<TrackerLibrary>(*host);
    TtsResult context(host.Get());
    try {
        Run(*root, context);
    } catch (const EtsException& error) {
        return context.Text + "error: " + error.what();
    }
    return context.Text;
}

struct LifetimeCase {
    const char* Name;
    const char* Script;
};

// Each script ends by writing how many tracked objects are alive.
const LifetimeCase kCases[] = {
    {"variable overwritten after a method call",
     "var t = System.Tracker.Make() t.Touch() t = 0; = System.Tracker.Living"},
    {"first assignment of a new variable",
     "var t = System.Tracker.Make() var u = t t = 0 u = 0; = System.Tracker.Living"},
    {"receiver made in a call statement", "System.Tracker.Make().Touch(); = System.Tracker.Living"},
    {"argument of a library method", "System.Tracker.Touch(System.Tracker.Make()) "
                                     "; = System.Tracker.Living"},
    {"value compared and dropped",
     "var same = (System.Tracker.Make() = System.Tracker.Make()); = System.Tracker.Living"},
    {"collection and item of a loop",
     "var t = System.Tracker.Make() foreach (x in t) x.Touch() end foreach t = 0 "
     "; = System.Tracker.Living"},
    {"script object after construction and a method call",
     "class Box() var Held = System.Tracker.Make() function Look() this.Held.Touch() "
     "end function end class var b = Box() b.Look() b = 0; = System.Tracker.Living"},
    {"member replaced", "class Box() var Held end class var b = Box() "
                        "b.Held = System.Tracker.Make() b.Held = 0; = System.Tracker.Living"},
};

TEST(ObjectLifetime, NothingOutlivesItsLastReference) {
    for (const LifetimeCase& c : kCases)
        EXPECT_EQ(RunTracked(std::string("<.") + c.Script + ".>"), "0") << c.Name;
}

TEST(ObjectLifetime, AHeldObjectStaysAlive) {
    EXPECT_EQ(RunTracked("<.var t = System.Tracker.Make() t.Touch(); = System.Tracker.Living.>"),
              "1");
}

} // namespace
} // namespace ozra::runtime::testing
