// Automation as scripts use it, against a sheet class registered for the
// tests: creation by ProgID and class id, running objects, late-bound
// property reads and writes, item reads, methods, the default member,
// events through an event property and through two connection points, and
// every error text.
#include "libs/automation_classes.h"
#include "script_support.h"
#include "value/conversions.h"
#include "value/names.h"

namespace ozra::libs::testing {
namespace {

using runtime::DispatchKind;
using value::TtsValue;

const Guid SheetId = *Guid::Parse("{8E3A2C10-1B7D-4F5A-9C3E-2D4B6A8F0E11}");
const Guid CellId = *Guid::Parse("{8E3A2C10-1B7D-4F5A-9C3E-2D4B6A8F0E12}");
const Guid SheetEvents = *Guid::Parse("{A1A1A1A1-0000-4000-8000-000000000001}");
const Guid CellEvents = *Guid::Parse("{B2B2B2B2-0000-4000-8000-000000000002}");

// Members: Value (the default member, a number), Caption (text; a change
// calls the OnChange handler with the old and the new caption), OnChange,
// Count (read-only), Join (its arguments joined by ","), Raise (fires the
// event of its first argument's id on the sheet events, with the other
// arguments) and Touch (fires event 7 on the cell events).
class TestSheet final : public AutomationObject {
  public:
    enum Member { Value = DispatchValue, Caption, OnChange, Count, Join, Raise, Touch };

    std::int32_t DispatchIdOf(std::string_view name) override {
        static constexpr std::string_view Names[] = {"Value", "Caption", "OnChange", "Count",
                                                     "Join",  "Raise",   "Touch"};
        for (std::int32_t id = 0; id < 7; ++id) {
            if (value::NamesEqual(Names[id], name)) return id;
        }
        return DispatchUnknown;
    }

    TtsValue Invoke(std::int32_t id, DispatchKind kind, std::span<const TtsValue> args) override {
        const bool put = kind == DispatchKind::PropertyPut;
        switch (id) {
        case Value:
            if (put) value_ = args[0];
            return put ? TtsValue() : value_;
        case Caption:
            if (put) SetCaption(args[0]);
            return put ? TtsValue() : caption_;
        case OnChange:
            if (put) onChange_ = args[0];
            return put ? TtsValue() : onChange_;
        case Count:
            if (put) throw value::EtsRuntime("Count is read-only.");
            return TtsValue::FromInt32(3);
        case Join: {
            std::string joined;
            for (const TtsValue& arg : args)
                joined += (joined.empty() ? "" : ",") + value::ToText(arg);
            return TtsValue::FromText(joined);
        }
        case Raise:
            sheetEvents_.Fire(value::ToInteger(args[0]), args.subspan(1));
            return TtsValue();
        case Touch:
            cellEvents_.Fire(7, args);
            return TtsValue();
        }
        return TtsValue();
    }

    ConnectionPoint* FindConnectionPoint(const Guid& id) override {
        if (id == SheetEvents) return &sheetEvents_;
        return id == CellEvents ? &cellEvents_ : nullptr;
    }

  private:
    void SetCaption(const TtsValue& caption) {
        const TtsValue old = caption_;
        caption_ = caption;
        if (auto* handler = dynamic_cast<AutomationObject*>(onChange_.Automation())) {
            const TtsValue args[] = {old, caption};
            handler->Invoke(DispatchValue, DispatchKind::Method, args);
        }
    }

    TtsValue value_ = TtsValue::FromInt32(0);
    TtsValue caption_ = TtsValue::FromText("");
    TtsValue onChange_;
    ConnectionPoint sheetEvents_{SheetEvents};
    ConnectionPoint cellEvents_{CellEvents};
};

const AutomationClasses& TestClasses() {
    static const AutomationClasses classes = [] {
        AutomationClasses made;
        made.Add({"Test.Sheet", SheetId, [] { return value::MakeRef<TestSheet>(); }, true});
        made.Add({"Test.Cell", CellId, [] { return value::MakeRef<TestSheet>(); }, false});
        return made;
    }();
    return classes;
}

void ExpectAutomationCases(const std::vector<ScriptCase>& cases) {
    ExpectScriptCases(cases, TestClasses());
}

TEST(Automation, CreatesByProgIdAndClassId) {
    ExpectAutomationCases({
        {"<.var s = System.Win32Ole.New('Test.Sheet')\ns.Caption = 'Totals'\n"
         "?? s.Caption ~ '|' ~ s['caption'] ~ '|' ~ s.CAPTION.>",
         "Totals|Totals|Totals\n"},
        {"<.var c = System.Win32Ole.Win32Ole('{8e3a2c10-1b7d-4f5a-9c3e-2d4b6a8f0e12}')\n"
         "c.Caption = 'cell'\n?? c.Caption.>",
         "cell\n"},
        {"<.?? System.Win32Ole.New('test.sheet').Join(1, 'b', 2.5) ~ '|' ~ "
         "System.Win32Ole.New('Test.Sheet').Join(x = 1, 2).>",
         "1,b,2.5|1,2\n"},
        // The default member is an ordinary member by name too.
        {"<.var s = System.Win32Ole.New('Test.Sheet')\ns.Value = 5\n?? s.Value + s.Count.>", "8\n"},
    });
}

// A class that registers itself as running is found by Get until a newer
// instance takes its place; other classes never are.
TEST(Automation, GetFindsTheRunningInstance) {
    ExpectAutomationCases({
        {"<.System.Win32Ole.Get('Test.Sheet').>", "", "Operation unavailable: Test.Sheet"},
        {"<.var a = System.Win32Ole.New('Test.Sheet')\na.Caption = 'shared'\n"
         "var b = System.Win32Ole.Get('{8E3A2C10-1B7D-4F5A-9C3E-2D4B6A8F0E11}')\n"
         "?? b.Caption ~ (a = b)\nvar c = System.Win32Ole.New('Test.Sheet')\n"
         "?? (System.Win32Ole.Get('Test.Sheet') = c) ~ (System.Win32Ole.Get('Test.Sheet') = a).>",
         "sharedTrue\nTrueFalse\n"},
        {"<.var c = System.Win32Ole.New('Test.Cell')\nSystem.Win32Ole.Get('Test.Cell').>", "",
         "Operation unavailable: Test.Cell"},
        {"<.System.Win32Ole.Get('Nothing.Here').>", "", "Invalid class string: Nothing.Here"},
    });
}

TEST(Automation, NullLeavesItsArgumentsUnevaluated) {
    ExpectAutomationCases({
        {"<.var n = System.Win32Ole.Null(undefined, 1 / 0)\nvar m = System.Win32Ole.Null\n"
         "try\n  ?? n\nexcept\n  ?? exception\nend try\n?? (m = n).>",
         "Could not convert variant of type (Null) into type (String)\nTrue\n"},
    });
}

// The sheet calls the handler in its OnChange property by the default
// member's id, with (old, new): a handler receives them last first, and
// no more of them than it has parameters.
TEST(Automation, EventAssignedToAPropertyIsFired) {
    ExpectAutomationCases({
        {"<.function changed(args, id)\n  ?? args[0] ~ '<-' ~ args[1] ~ ' #' ~ id\n"
         "end function\nvar s = System.Win32Ole.New('Test.Sheet')\ns.Caption = 'a'\n"
         "s.OnChange = System.Win32Ole.Event('changed')\ns.Caption = 'b'\ns.Caption = 'c'.>",
         "b<-a #0\nc<-b #0\n"},
        {"<.function one(args)\n  ?? '[' ~ args[0] ~ '|' ~ args[1] ~ ']'\nend function\n"
         "function none()\n  ?? 'none'\nend function\nvar s = System.Win32Ole.New('Test.Sheet')\n"
         "s.OnChange = System.Win32Ole.Event('one')\ns.Caption = 'x'\n"
         "s.OnChange = System.Win32Ole.Event('none')\ns.Caption = 'y'.>",
         "[x|]\nnone\n"},
        {"<.class Watcher()\n  var seen = ''\n  function Note(args, id)\n"
         "    seen = seen ~ args[0]\n  end function\nend class\nvar w = Watcher()\n"
         "var s = System.Win32Ole.New('Test.Sheet')\n"
         "s.OnChange = System.Win32Ole.Event('Note', w)\ns.Caption = 'p'\ns.Caption = 'q'\n"
         "?? w.seen.>",
         "pq\n"},
    });
}

// A connected handler takes only the listed dispatch ids, whole numbers
// between bars.
TEST(Automation, EventSinkFiltersByDispatchId) {
    const std::string sheet = "<.var s = System.Win32Ole.New('Test.Sheet')\n"
                              "function got(args, id)\n  = id ~ ':'\n  foreach (a in args)\n"
                              "    = a ~ ' '\n  end foreach\n  ?? ''\nend function\n"
                              "function plain()\n  ?? 'plain'\nend function\n";
    const std::string raise = "s.Raise(1, 'x')\ns.Raise(2, 'y')\ns.Raise(5, 'p', 'q')\n"
                              "s.Raise(15, 'z')\n";
    ExpectAutomationCases({
        {sheet +
             "var k = System.Win32Ole.EventSink(s, '{A1A1A1A1-0000-4000-8000-000000000001}', "
             "'1|5', 'got')\n" +
             raise + ".>",
         "1:x \n5:q p \n"},
        {sheet +
             "var k = System.Win32Ole.EventSink(s, '{A1A1A1A1-0000-4000-8000-000000000001}', "
             "'', 'got')\n" +
             raise + "?? 'end'.>",
         "end\n"},
        {sheet +
             "var k = System.Win32Ole.EventSink(s, '{A1A1A1A1-0000-4000-8000-000000000001}', "
             "'2', 'plain')\n" +
             raise + ".>",
         "plain\n"},
        {sheet + "var k = System.Win32Ole.EventSink(s, '{B2B2B2B2-0000-4000-8000-000000000002}', "
                 "'7', 'got')\ns.Raise(7, 'not this point')\ns.Touch(9, 8).>",
         "7:8 9 \n"},
    });
}

// A failing handler fails the script's call that fired the event; later
// handlers of that call do not run.
TEST(Automation, HandlerErrorsSurfaceAfterTheCall) {
    ExpectAutomationCases({
        {"<.function boom(args, id)\n  = 'boom '\n  var x = 1 / 0\nend function\n"
         "var s = System.Win32Ole.New('Test.Sheet')\n"
         "var k1 = System.Win32Ole.EventSink(s, '{A1A1A1A1-0000-4000-8000-000000000001}', '1', "
         "'boom')\nvar k2 = System.Win32Ole.EventSink(s, "
         "'{A1A1A1A1-0000-4000-8000-000000000001}', '1', 'boom')\n"
         "try\n  s.Raise(1)\nexcept\n  ?? exception\nend try\n?? s.Join('still', 'usable').>",
         "boom Division by zero\nstill,usable\n"},
    });
}

TEST(Automation, Errors) {
    const std::string sheet = "<.var s = System.Win32Ole.New('Test.Sheet')\n";
    const char* no = "parameter error.";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<.System.Win32Ole.New('Sheet.Application').>", "Invalid class string: Sheet.Application"},
        // A class that only other platforms have fails the same way.
        {"<.System.Win32Ole.New('Excel.Application').>", "Invalid class string: Excel.Application"},
        {"<.System.Win32Ole.New('').>", "Invalid class string: "},
        {"<.System.Win32Ole.New('{8E3A2C10-1B7D}').>", "Invalid class string: {8E3A2C10-1B7D}"},
        {"<.System.Win32Ole.New('{00000000-0000-0000-0000-0000000000ab}').>",
         "Class not registered: {00000000-0000-0000-0000-0000000000AB}"},
        {"<.System.Win32Ole.New().>", "no enough parameters."},
        {"<.System.Win32Ole.Get('a', 'b').>", "too many parameters."},
        {"<.System.Win32Ole.Open('a').>", "function Open not found."},
        {"<.System.Win32Ole.New = 1.>", "property New is a readonly property."},
        {sheet + "s.Nothing().>", "Unknown name: Nothing"},
        {sheet + "?? s.nothing.>", "Unknown name: nothing"},
        {sheet + "s.nothing = 1.>", "Unknown name: nothing"},
        {sheet + "?? s['nothing'].>", "Unknown name: nothing"},
        {sheet + "s.Count = 1.>", "Count is read-only."},
        {"<.System.Win32Ole.Event('nowhere').>", no},
        {"<.System.Win32Ole.Event().>", "no enough parameters."},
        {sheet + "function f()\nend function\n"
                 "System.Win32Ole.EventSink(s, '{bad}', '1', 'f').>",
         no},
        {sheet + "function f()\nend function\n"
                 "System.Win32Ole.EventSink(s, '{00000000-0000-0000-0000-000000000000}', '1', "
                 "'f').>",
         no},
        {"<.function f()\nend function\nSystem.Win32Ole.EventSink(5, "
         "'{A1A1A1A1-0000-4000-8000-000000000001}', '1', 'f').>",
         no},
        {sheet + "System.Win32Ole.EventSink(s, '{A1A1A1A1-0000-4000-8000-000000000001}', '1', "
                 "'nowhere').>",
         no},
        {sheet + "System.Win32Ole.EventSink(s, '{A1A1A1A1-0000-4000-8000-000000000001}', '1').>",
         "no enough parameters."},
    };
    for (const auto& [script, error] : cases) {
        TempFolder folder;
        EXPECT_EQ(RunWithLibraries(script, folder.Path, TestClasses()).Error, error) << script;
    }
}

} // namespace
} // namespace ozra::libs::testing
