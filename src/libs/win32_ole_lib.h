// Automation: «System.Win32Ole», which creates and attaches to automation
// objects (automation.h) and performs the late-bound calls on every
// automation value, and `TtsWin32OleEvent`, the handler that turns a script
// function into an automation event handler.
//
//     var sheet = System.Win32Ole.New("Test.Sheet")
//     sheet.Caption = "Totals"               // property write
//     = sheet.Caption ~ sheet["Caption"]     // property reads
//     sheet.Add(1, 2)                        // method call
//
// `New` (or `Win32Ole`) makes an instance of a registered class, named by
// ProgID or by "{class id}" (automation_classes.h); `Get` answers the
// class's running instance («Operation unavailable: » + text when there is
// none). `Null` answers Null without evaluating its arguments.
//
// `Event(name [, object])` makes a handler to assign to an event property;
// it takes every event. `EventSink(source, "{interface id}", "1|5", name
// [, object])` makes one connected to the source's connection point for
// that interface, which takes only the events whose dispatch ids the list
// names (whole numbers between bars). A handler calls a function without
// parameters with no arguments, and any other with two: a set of the
// event's arguments, the last one first (for `Event`, no more of them than
// the function has parameters), and the dispatch id. A failing handler
// function fails the script's call that caused the event (callback_gate.h).
// Handlers live until the run ends, when they are disconnected.
#pragma once

#include "libs/automation.h"
#include "libs/automation_classes.h"
#include "libs/callback_gate.h"
#include "runtime/call_object.h"
#include "runtime/lib_base.h"

#include <optional>
#include <string>
#include <vector>

namespace ozra::libs {

class TtsWin32OleEvent final : public AutomationObject {
  public:
    TtsWin32OleEvent(value::Ref<CallbackGate> gate,
                     value::Ref<runtime::TtsCallObject> call) noexcept;

    std::string_view ClassName() const override { return "TtsWin32OleEvent"; }

    // A handler knows no names: it is only ever invoked by id.
    std::int32_t DispatchIdOf(std::string_view name) override;
    // Runs the script function for an event it takes; always answers Empty.
    value::TtsValue Invoke(std::int32_t dispatchId, runtime::DispatchKind kind,
                           std::span<const value::TtsValue> arguments) override;

    // Connects to the source's point for the interface, taking the events
    // the list of dispatch ids names; "parameter error." without a point.
    void Connect(AutomationObject& source, const Guid& eventInterface, std::string_view ids);
    // At the end of the run: disconnects, and lets go of the script code,
    // which may hold the objects that hold this handler.
    void Detach() noexcept;

  private:
    value::Ref<CallbackGate> gate_;
    value::Ref<runtime::TtsCallObject> call_;
    // "|" + the dispatch ids + "|" for a connected handler.
    std::optional<std::string> filter_;
    value::Ref<AutomationObject> source_;
    ConnectionPoint* point_ = nullptr;
    std::uint32_t cookie_ = 0;
};

class TtsLibWin32Ole final : public runtime::TtsLibBase {
  public:
    TtsLibWin32Ole(runtime::TtsHost& host, const AutomationClasses& classes);
    ~TtsLibWin32Ole() override;

    void CallMethod(front::TtsExpression& value, std::string_view name, runtime::TtsResult& context,
                    const front::TtsExpressions* arguments) override;
    // On an automation value: the late-bound call of the member; on the
    // library: its published methods.
    void Invoke(front::TtsExpression& value, std::string_view name, runtime::DispatchKind kind,
                runtime::TtsResult& context, const front::TtsExpressions* arguments) override;
    void SetPropertyEntry(front::TtsExpression& expression, value::TtsObject* object,
                          const value::TtsValue& value, runtime::TtsResult& context,
                          std::string_view name) override;
    // Members of automation objects are found by the object, and Null
    // leaves its arguments unevaluated: no call site keeps a row.
    bool DispatchesByName(runtime::DispatchKind) const noexcept override { return false; }

  private:
    struct RunningObject {
        Guid ClassId;
        value::Ref<AutomationObject> Object;
    };

    void New(runtime::LibCall& call);
    void Get(runtime::LibCall& call);
    void Null(runtime::LibCall& call);
    void Event(runtime::LibCall& call);
    void EventSink(runtime::LibCall& call);

    // A handler of the function named by argument `namePosition`, with the
    // optional receiver after it.
    value::Ref<TtsWin32OleEvent> MakeHandler(runtime::LibCall& call, int namePosition);

    const AutomationClasses& classes_;
    value::Ref<CallbackGate> gate_;
    std::vector<RunningObject> running_;
    std::vector<value::Ref<TtsWin32OleEvent>> handlers_;
};

} // namespace ozra::libs
