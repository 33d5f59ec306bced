// The host's choice of library for a value and the default behaviour of a
// library: published methods, properties as calls, indexes as properties,
// read-only properties and the argument check.
#include "runtime/host.h"
#include "runtime/result.h"

#include <gtest/gtest.h>

#include <string>

namespace ozra::runtime {

using namespace value;
namespace {

class Shape : public TtsObjectZero {
  public:
    std::string Name = "shape";
};
class Circle : public Shape {};
class Unclaimed : public TtsObjectZero {};

// A library that answers its own tag from "Who", counts its arguments in
// "Count" (one or two allowed), returns nothing from "Nothing", and reads
// its receiver after writing its result in "NameAfterResult".
class TagLibrary : public TtsLibBase {
  public:
    TagLibrary(TtsHost& host, std::string tag, std::uint8_t access)
        : TtsLibBase(host), tag_(std::move(tag)) {
        RegisterFor<Shape>(access);
        Publish({
            {"Who", Method<&TagLibrary::Who>, 0, 0},
            {"Count", Method<&TagLibrary::Count>, 1, 2},
            {"Nothing", Method<&TagLibrary::Nothing>, 0, 0},
            {"NameAfterResult", Method<&TagLibrary::NameAfterResult>, 0, 0},
        });
    }

  private:
    void Who(LibCall& call) { call.ReturnText(tag_); }
    void Count(LibCall& call, Shape&) { call.ReturnInteger(call.Count()); }
    void Nothing(LibCall&, Shape&) {}
    void NameAfterResult(LibCall& call, Shape& shape) {
        call.ReturnInteger(0);
        call.ReturnText(shape.Name);
    }

    std::string tag_;
};

front::TtsExpressions Constants(int count) {
    front::TtsExpressions list;
    for (int i = 0; i < count; ++i) {
        auto constant = MakeRef<front::TtsConst>(nullptr);
        constant->OwnValue = TtsValue::FromInt32(i);
        list.Add(std::move(constant));
    }
    return list;
}

class HostDispatch : public ::testing::Test {
  protected:
    HostDispatch() : context(host.Get()) {
        MakeRef<TagLibrary>(*host, "props", AccessProperty);
        MakeRef<TagLibrary>(*host, "first", AccessAll);
        MakeRef<TagLibrary>(*host, "second", AccessAll);
    }

    std::string CallWho(const TtsValue& receiver) {
        TtsHostValue value(receiver);
        host->CallMethod(value, "WHO", context, nullptr);
        return std::string(value.Value().Text());
    }

    Ref<TtsHost> host = MakeRef<TtsHost>();
    TtsResult context;
};

TEST_F(HostDispatch, FirstRegisteredEntryWithTheAccessServesInstancesAndDescendants) {
    auto circle = MakeRef<Circle>();
    EXPECT_EQ(CallWho(TtsValue::FromObject(circle.Get())), "first");

    TtsHostValue value(TtsValue::FromObject(circle.Get()));
    bool address = false;
    host->GetProperty(value, "who", address, context);
    EXPECT_EQ(value.Value().Text(), "props");
}

TEST_F(HostDispatch, UnclaimedValuesGoToTheDefaultLibrary) {
    auto other = MakeRef<Unclaimed>();
    const TtsValue receivers[] = {TtsValue::FromText("abc"), TtsValue::FromInt32(1), TtsValue(),
                                  TtsValue::FromObject(other.Get())};
    for (const TtsValue& receiver : receivers) {
        try {
            CallWho(receiver);
            ADD_FAILURE() << "the default library has no Who";
        } catch (const EtsRuntime& error) {
            EXPECT_STREQ(error.what(), "function WHO not found.");
        }
    }
}

TEST_F(HostDispatch, IndexesReadPropertiesNamedByTheIndexText) {
    auto shape = MakeRef<Shape>();
    TtsValue out;
    host->GetObjectItem(*shape, TtsValue::FromText("Who"), out, context);
    EXPECT_EQ(out.Text(), "first");
    EXPECT_THROW(host->GetValueItem(TtsValue::FromText("s"), out, context, TtsValue::FromText("k")),
                 EtsRuntime);
}

TEST_F(HostDispatch, WritesToLibraryPropertiesAreReadOnlyByDefault) {
    auto shape = MakeRef<Shape>();
    TtsHostValue value(TtsValue::FromObject(shape.Get()));
    const struct {
        std::function<void()> write;
        const char* message;
    } cases[] = {
        {[&] { host->SetProperty(value, "Caption", TtsValue::FromInt32(1), context); },
         "property Caption is a readonly property."},
        {[&] { host->SetObjectItem(*shape, TtsValue::FromInt32(2), TtsValue(), context); },
         "property 2 is a readonly property."},
        {[&] {
             TtsHostValue text(TtsValue::FromText("abc"));
             host->SetValueItem(text, TtsValue::FromText("k"), TtsValue(), context);
         },
         "property k is a readonly property."},
    };
    for (const auto& c : cases) {
        try {
            c.write();
            ADD_FAILURE() << c.message;
        } catch (const EtsRuntime& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST_F(HostDispatch, ArgumentCountsAreChecked) {
    auto shape = MakeRef<Shape>();
    const struct {
        int count;
        const char* error;
    } cases[] = {
        {0, "no enough parameters."}, {1, nullptr}, {2, nullptr}, {3, "too many parameters."}};
    for (const auto& c : cases) {
        const front::TtsExpressions arguments = Constants(c.count);
        TtsHostValue value(TtsValue::FromObject(shape.Get()));
        try {
            host->CallMethod(value, "count", context, &arguments);
            EXPECT_EQ(c.error, nullptr) << c.count;
            EXPECT_EQ(value.Value().Integer(), c.count);
        } catch (const EtsRuntime& error) {
            ASSERT_NE(c.error, nullptr) << c.count;
            EXPECT_STREQ(error.what(), c.error);
        }
    }
}

TEST_F(HostDispatch, TheReceiverIsTakenOutOfTheValueAndKeptForTheCall) {
    {
        TtsHostValue value(TtsValue::FromObject(MakeRef<Shape>().Get()));
        host->CallMethod(value, "Nothing", context, nullptr);
        EXPECT_EQ(value.Value().Kind(), ValueKind::Empty);
    }
    {
        // Only the value holds the shape; the method still reads it after
        // overwriting the value with its result.
        TtsHostValue value(TtsValue::FromObject(MakeRef<Shape>().Get()));
        host->CallMethod(value, "NameAfterResult", context, nullptr);
        EXPECT_EQ(value.Value().Text(), "shape");
    }
    auto other = MakeRef<Unclaimed>();
    TtsHostValue value(TtsValue::FromObject(other.Get()));
    TtsLibBase& library =
        host->LibraryFor(TtsValue::FromObject(MakeRef<Shape>().Get()), AccessMethod);
    const front::TtsExpressions arguments = Constants(1);
    try {
        library.CallMethod(value, "Count", context, &arguments);
        ADD_FAILURE() << "a receiver of another class";
    } catch (const EtsRuntime& error) {
        EXPECT_STREQ(error.what(), "parameter error.");
    }
}

TEST_F(HostDispatch, NamedArgumentsAreFoundByNameAndVariablesHaveNone) {
    front::TtsExpressions arguments = Constants(2);
    arguments[1]->Name = "Case";
    auto variable = MakeRef<front::TtsVariable>(nullptr);
    variable->Name = "Case";
    arguments.Add(variable);
    EXPECT_EQ(TtsLibBase::NamedArgument(&arguments, "case"), arguments[1]);
    EXPECT_EQ(TtsLibBase::NamedArgument(&arguments, "other"), nullptr);
    EXPECT_EQ(TtsLibBase::Argument(&arguments, 7).Kind(), ValueKind::Empty);
}

TEST_F(HostDispatch, SystemIsTheHostAndSystemVariablesExist) {
    EXPECT_EQ(host->FindLibrary("sYsTeM"), host.Get());
    EXPECT_EQ(host->FindLibrary("Runtime"), nullptr);
    EXPECT_EQ(host->Variable("String").Kind(), ValueKind::Empty);

    auto* tick = front::NodeCast<front::TtsVariable>(host->Names.Find("TickCount"));
    auto* now = front::NodeCast<front::TtsVariable>(host->Names.Find("now"));
    ASSERT_TRUE(tick && now);
    UpdateSystemVariable(*tick);
    UpdateSystemVariable(*now);
    EXPECT_EQ(tick->Value().Kind(), ValueKind::UInt32);
    EXPECT_EQ(now->Value().Kind(), ValueKind::Date);
    EXPECT_GT(now->Value().Real(), 45000.0); // after 2023
}

TEST_F(HostDispatch, ObjectsReturnedThroughAHostValueAreHeldUntilCopiedOut) {
    TtsValue copy;
    {
        TtsHostValue value;
        Ref<Unclaimed> fresh = MakeRef<Unclaimed>();
        value.SetObject(fresh.Get());
        fresh.Reset(); // as a library leaves a new object: only the value holds it
        copy = value.Value();
    }
    ASSERT_TRUE(copy.Object());
    EXPECT_EQ(copy.Object()->RefCount(), 1);
}

} // namespace
} // namespace ozra::runtime
