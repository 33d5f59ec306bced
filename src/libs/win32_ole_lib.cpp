// The automation library and its event handlers.
#include "libs/win32_ole_lib.h"

#include "libs/lib_support.h"
#include "runtime/evaluator.h"
#include "value/names.h"

#include <algorithm>

namespace ozra::libs {

using runtime::DispatchKind;
using value::EtsException;
using value::EtsRuntime;
using value::ValueKind;

TtsWin32OleEvent::TtsWin32OleEvent(Ref<CallbackGate> gate,
                                   Ref<runtime::TtsCallObject> call) noexcept
    : gate_(std::move(gate)), call_(std::move(call)) {}

std::int32_t TtsWin32OleEvent::DispatchIdOf(std::string_view) {
    return DispatchUnknown;
}

TtsValue TtsWin32OleEvent::Invoke(std::int32_t dispatchId, DispatchKind,
                                  std::span<const TtsValue> arguments) {
    if (filter_ && filter_->find("|" + std::to_string(dispatchId) + "|") == std::string::npos)
        return TtsValue();
    gate_->CallIn([&](runtime::TtsResult& context) {
        const Ref<runtime::TtsCallObject> call = call_;
        if (!call) return;
        TtsValue ignored;
        const int parameters = call->ParameterCount();
        if (parameters == 0) {
            call->Call(context, {}, ignored);
            return;
        }
        std::size_t count = arguments.size();
        if (!filter_) count = std::min(count, static_cast<std::size_t>(parameters));
        std::vector<TtsValue> lastFirst;
        for (std::size_t k = 0; k < count; ++k)
            lastFirst.push_back(arguments[arguments.size() - 1 - k]);
        const TtsValue passed[] = {TtsValue::FromCountedObject(MakeValueSet(lastFirst).Get()),
                                   TtsValue::FromInt32(dispatchId)};
        call->Call(context, passed, ignored);
    });
    return TtsValue();
}

void TtsWin32OleEvent::Connect(AutomationObject& source, const Guid& eventInterface,
                               std::string_view ids) {
    ConnectionPoint* point = source.FindConnectionPoint(eventInterface);
    if (!point) throw EtsRuntime::ParameterError();
    filter_ = "|" + std::string(ids) + "|";
    cookie_ = point->Advise(Ref<AutomationObject>::Retain(this));
    point_ = point;
    source_ = Ref<AutomationObject>::Retain(&source);
}

void TtsWin32OleEvent::Detach() noexcept {
    const Ref<TtsWin32OleEvent> alive = Ref<TtsWin32OleEvent>::Retain(this);
    if (point_) point_->Unadvise(cookie_);
    point_ = nullptr;
    source_.Reset();
    call_.Reset();
}

void TtsLibWin32Ole::New(LibCall& call) {
    const AutomationClasses::Class& entry = classes_.Resolve(call.Text(0));
    Ref<AutomationObject> object = entry.Create();
    if (entry.Running) {
        std::erase_if(running_, [&](const RunningObject& r) { return r.ClassId == entry.ClassId; });
        running_.push_back({entry.ClassId, object});
    }
    call.Return(TtsValue::FromAutomation(std::move(object)));
}

void TtsLibWin32Ole::Get(LibCall& call) {
    const std::string text = call.Text(0);
    const AutomationClasses::Class& entry = classes_.Resolve(text);
    for (const RunningObject& running : running_) {
        if (running.ClassId == entry.ClassId) {
            call.Return(TtsValue::FromAutomation(running.Object));
            return;
        }
    }
    throw EtsRuntime("Operation unavailable: " + text);
}

void TtsLibWin32Ole::Null(LibCall& call) {
    call.Return(TtsValue::Null());
}

Ref<TtsWin32OleEvent> TtsLibWin32Ole::MakeHandler(LibCall& call, int namePosition) {
    auto handle = runtime::TtsCallObject::Prepare(call.Context, call.Text(namePosition),
                                                  call.Argument(namePosition + 1),
                                                  *call.Arguments()->Item(namePosition));
    return value::MakeRef<TtsWin32OleEvent>(gate_, std::move(handle));
}

void TtsLibWin32Ole::Event(LibCall& call) {
    Ref<TtsWin32OleEvent> handler;
    try {
        handler = MakeHandler(call, 0);
    } catch (const EtsException&) {
        throw EtsRuntime::ParameterError();
    }
    handlers_.push_back(handler);
    call.Return(TtsValue::FromAutomation(std::move(handler)));
}

void TtsLibWin32Ole::EventSink(LibCall& call) {
    Ref<TtsWin32OleEvent> handler;
    try {
        auto* source = dynamic_cast<AutomationObject*>(call.Argument(0).Automation());
        const std::optional<Guid> eventInterface = Guid::Parse(call.Text(1));
        if (!source || !eventInterface) throw EtsRuntime::ParameterError();
        handler = MakeHandler(call, 3);
        handler->Connect(*source, *eventInterface, call.Text(2));
    } catch (const EtsException&) {
        throw EtsRuntime::ParameterError();
    }
    handlers_.push_back(handler);
    call.Return(TtsValue::FromAutomation(std::move(handler)));
}

void TtsLibWin32Ole::CallMethod(front::TtsExpression& value, std::string_view name,
                                runtime::TtsResult& context,
                                const front::TtsExpressions* arguments) {
    // Null leaves its arguments unevaluated, which the dispatcher would not.
    if (value::NamesEqual(name, "Null")) {
        value.SetValue(TtsValue::Null());
        return;
    }
    TtsLibBase::CallMethod(value, name, context, arguments);
}

void TtsLibWin32Ole::Invoke(front::TtsExpression& value, std::string_view name, DispatchKind kind,
                            runtime::TtsResult& context, const front::TtsExpressions* arguments) {
    if (value.Value().Kind() != ValueKind::Automation) {
        TtsLibBase::Invoke(value, name, kind, context, arguments);
        return;
    }
    auto* target = dynamic_cast<AutomationObject*>(value.Value().Automation());
    if (!target) throw EtsRuntime::ParameterError();
    const Ref<AutomationObject> held = Ref<AutomationObject>::Retain(target);
    std::vector<TtsValue> values;
    if (arguments) {
        for (const auto& argument : *arguments)
            values.push_back(runtime::Evaluate(*argument, context));
    }
    const std::int32_t id = target->DispatchIdOf(name);
    if (id == DispatchUnknown) throw UnknownName(name);
    TtsValue result;
    gate_->CallOut(context, [&] { result = target->Invoke(id, kind, values); });
    value.SetValue(result);
}

// A write to an automation object is a call of the member with the value
// as its one argument; the library's own names stay read-only.
void TtsLibWin32Ole::SetPropertyEntry(front::TtsExpression& expression, value::TtsObject* object,
                                      const TtsValue& value, runtime::TtsResult& context,
                                      std::string_view name) {
    if (expression.Value().Kind() != ValueKind::Automation) {
        TtsLibBase::SetPropertyEntry(expression, object, value, context, name);
        return;
    }
    const front::TtsExpressions arguments = runtime::ConstantExpressions({&value, 1});
    Invoke(expression, name, DispatchKind::PropertyPut, context, &arguments);
}

TtsLibWin32Ole::~TtsLibWin32Ole() {
    for (const Ref<TtsWin32OleEvent>& handler : handlers_)
        handler->Detach();
}

TtsLibWin32Ole::TtsLibWin32Ole(runtime::TtsHost& host, const AutomationClasses& classes)
    : TtsLibBase(host), classes_(classes), gate_(value::MakeRef<CallbackGate>()) {
    RegisterFor<TtsLibWin32Ole>(runtime::AccessAll);
    RegisterGlobal("Win32Ole", this);
    host.SetAutomationLibrary(*this);
    Publish({
        {"New", Method<&TtsLibWin32Ole::New>, 1, 1},
        {"Win32Ole", Method<&TtsLibWin32Ole::New>, 1, 1},
        {"Get", Method<&TtsLibWin32Ole::Get>, 1, 1},
        {"Null", Method<&TtsLibWin32Ole::Null>, 0, Unlimited},
        {"Event", Method<&TtsLibWin32Ole::Event>, 1, 2},
        {"EventSink", Method<&TtsLibWin32Ole::EventSink>, 4, 5},
    });
}

} // namespace ozra::libs
