// Calls from host code into script objects: `TScriptHelper` (by name, without
// arguments) and `TOzraExecutor` (a dotted name with host objects as
// arguments). Each call runs in a child of the run's root context, whose
// text it must leave alone, also when the method fails.
#include "eval_test_support.h"

#include "runtime/global_data.h"
#include "runtime/result.h"
#include "runtime/script_helper.h"

#include <gtest/gtest.h>

namespace ozra::runtime {
namespace {

using namespace value;

class EventObject : public TtsObjectZero {};

constexpr const char* kPanelScript = R"(root text<.
class Panel()
  var Clicks = 0
  var Child = 0
  function OnShow()
    ? "shown"
    Clicks = Clicks + 1
  end function
  function Caption()
    result = "Panel " ~ Clicks
  end function
  function Fails()
    ? "partial"
    result = missing
  end function
  function Click(Sender)
    Clicks = Clicks + 1
    result = Sender
  end function
end class
var p = Panel()
p.Child = Panel()
.>)";

// A finished run of the panel script whose root context is still the run's.
class ScriptCalls : public ::testing::Test {
  protected:
    ScriptCalls() : context(host.Get()) {
        root = testing::ParseScript(kPanelScript);
        runtime::Run(*root, context);
        global.RootContext = &context;
    }

    front::TtsObjectNode& Object(const TtsValue& value) {
        auto* object =
            front::NodeCast<front::TtsObjectNode>(dynamic_cast<front::TtsNode*>(value.Object()));
        EXPECT_NE(object, nullptr);
        return *object;
    }
    front::TtsObjectNode& Panel() {
        return Object(front::NodeCast<front::TtsExpression>(root->Names.Find("p"))->Value());
    }
    front::TtsObjectNode& Child() { return Object(Member(Panel(), "Child").Value()); }
    std::int64_t Clicks(front::TtsObjectNode& object) {
        return Member(object, "Clicks").Value().Integer();
    }
    // The message of the error `call` raises, checking that it left the
    // root context as it was.
    template <class Call> std::string ErrorOf(Call call) {
        std::string message = "(no error)";
        try {
            call();
        } catch (const EtsException& error) {
            message = error.what();
        }
        EXPECT_EQ(context.Text, "root text");
        EXPECT_EQ(context.Child, nullptr);
        return message;
    }

    Ref<TtsHost> host = MakeRef<TtsHost>();
    TtsResult context;
    Ref<front::TtsBlock> root;
    TGlobalData global;
};

TEST_F(ScriptCalls, TheHelperCallsByNameInAChildContext) {
    TScriptHelper helper(global);
    helper.Call(Panel(), "OnShow");
    helper.Call(Panel(), "NoSuchMethod");
    EXPECT_EQ(helper.CallForText(Panel(), "onshow"), "shown");
    EXPECT_EQ(Clicks(Panel()), 2);
    EXPECT_EQ(helper.CallForValue(Panel(), "Caption").Text(), "Panel 2");
    EXPECT_EQ(helper.CallForValue(Panel(), "NoSuchMethod").Kind(), ValueKind::Empty);
    EXPECT_EQ(context.Text, "root text");
    EXPECT_EQ(context.Child, nullptr);

    EXPECT_EQ(ErrorOf([&] { helper.CallForText(Panel(), "NoSuchMethod"); }),
              "function NoSuchMethod not found.");
    EXPECT_EQ(ErrorOf([&] { helper.Call(Panel(), "Fails"); }), "variable missing not found.");
    EXPECT_EQ(ErrorOf([&] { helper.CallForValue(Panel(), "Fails"); }),
              "variable missing not found.");

    TGlobalData notRunning;
    EXPECT_EQ(ErrorOf([&] { TScriptHelper(notRunning).Call(Panel(), "OnShow"); }),
              "no script is running.");
}

TEST_F(ScriptCalls, TheExecutorFollowsTheDottedNameAndPassesHostObjects) {
    auto sender = MakeRef<EventObject>();
    TOzraExecutor click(context, Panel(), "Child.Click");
    click.AddArgument(sender.Get(), "Sender");
    EXPECT_EQ(click.Execute().Object(), sender.Get());
    EXPECT_EQ(Clicks(Child()), 1);
    EXPECT_EQ(Clicks(Panel()), 0);
    EXPECT_EQ(context.Text, "root text");
    EXPECT_EQ(context.Child, nullptr);

    TOzraExecutor positional(context, Panel(), "Click");
    positional.AddArgument(sender.Get());
    EXPECT_EQ(positional.Execute().Object(), sender.Get());
    EXPECT_EQ(Clicks(Panel()), 1);

    const struct {
        const char* dotted;
        const char* message;
    } failures[] = {
        {"Nope.Click", "Nope not found."},
        {"Clicks.Click", "Clicks.Click not found or invalid."},
        {"Child.Fails", "variable missing not found."},
        {"Child.NoSuchMethod", "function NoSuchMethod not found."},
    };
    for (const auto& f : failures) {
        TOzraExecutor executor(context, Panel(), f.dotted);
        EXPECT_EQ(ErrorOf([&] { executor.Execute(); }), f.message) << f.dotted;
    }
}

} // namespace
} // namespace ozra::runtime
