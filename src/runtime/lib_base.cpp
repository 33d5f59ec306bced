// The default behaviour of every library: the published-method dispatcher
// with its argument check, properties as argument-less calls, indexes as
// properties named by the index text, and read-only properties.
#include "runtime/lib_base.h"

#include "runtime/evaluator.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/names.h"

namespace ozra::runtime {

using namespace value;

void TtsLibBase::GetItem(front::TtsExpression& out, TtsObject* object, TtsResult& context,
                         const TtsValue& index) {
    std::string name = ToText(index);
    bool address = false;
    if (!name.empty() && name.front() == '@') {
        name.erase(0, 1);
        address = true;
    }
    GetProperty(out, object, address, context, name);
}

void TtsLibBase::CallMethod(front::TtsExpression& value, std::string_view name, TtsResult& context,
                            const front::TtsExpressions* arguments) {
    const PublishedMethod* method = FindMethod(name);
    if (!method) throw EtsRuntime::FunctionNotFound(name);
    CallPublished(*method, value, context, arguments);
}

void TtsLibBase::CallPublished(const PublishedMethod& method, front::TtsExpression& value,
                               TtsResult& context, const front::TtsExpressions* arguments) {
    LibCall call(context, value, arguments);
    CheckArguments(context, arguments, method.MinArguments, method.MaxArguments);
    method.Run(*this, call);
}

void TtsLibBase::CheckArguments(TtsResult& context, const front::TtsExpressions* arguments,
                                int minimum, int maximum) {
    const int count = arguments ? arguments->Count() : 0;
    if (count < minimum) throw EtsRuntime::NotEnoughParameters();
    if (count > maximum) throw EtsRuntime::TooManyParameters();
    if (arguments) {
        for (const auto& argument : *arguments)
            Evaluate(*argument, context);
    }
}

void TtsLibBase::Invoke(front::TtsExpression& value, std::string_view name, DispatchKind,
                        TtsResult& context, const front::TtsExpressions* arguments) {
    CallMethod(value, name, context, arguments);
}

void TtsLibBase::GetProperty(front::TtsExpression& out, TtsObject*, bool&, TtsResult& context,
                             std::string_view name) {
    Invoke(out, name, DispatchKind::PropertyGet, context, nullptr);
}

void TtsLibBase::SetItem(TtsObject* object, const TtsValue& index, const TtsValue& value,
                         TtsResult& context) {
    SetProperty(object, ToText(index), value, context);
}

void TtsLibBase::SetProperty(TtsObject*, std::string_view name, const TtsValue&, TtsResult&) {
    throw EtsRuntime::ReadonlyProperty(name);
}

void TtsLibBase::SetPropertyEntry(front::TtsExpression&, TtsObject* object, const TtsValue& value,
                                  TtsResult& context, std::string_view name) {
    SetProperty(object, name, value, context);
}

const PublishedMethod* TtsLibBase::FindMethod(std::string_view name) const noexcept {
    const std::uint32_t hash = NameHash(name);
    for (std::size_t i = 0; i < hashes_.size(); ++i) {
        if (hashes_[i] == hash && NamesEqual(methods_[i].Name, name)) return &methods_[i];
    }
    return nullptr;
}

void TtsLibBase::Publish(std::initializer_list<PublishedMethod> methods) {
    for (const PublishedMethod& method : methods) {
        methods_.push_back(method);
        hashes_.push_back(NameHash(method.Name));
    }
}

const TtsValue& TtsLibBase::Argument(const front::TtsExpressions* arguments, int index) noexcept {
    if (!arguments || index < 0 || index >= arguments->Count()) return EmptyValue;
    const front::TtsExpression* argument = (*arguments)[index];
    return argument ? argument->Value() : EmptyValue;
}

front::TtsExpression* TtsLibBase::NamedArgument(const front::TtsExpressions* arguments,
                                                std::string_view name) noexcept {
    if (!arguments) return nullptr;
    for (const auto& argument : *arguments) {
        if (argument && NamesEqual(ArgName(*argument), name)) return argument.Get();
    }
    return nullptr;
}

std::string_view TtsLibBase::ArgName(const front::TtsExpression& argument) noexcept {
    if (front::IsKindOf(argument.Kind, front::NodeKind::Variable)) return {};
    return argument.Name;
}

LibCall::LibCall(TtsResult& context, front::TtsExpression& result,
                 const front::TtsExpressions* arguments) noexcept
    : Context(context), receiver_(std::move(*result.ValueSlot)), result_(result),
      arguments_(arguments) {
    TtsValueHelper::MarkCounted(receiver_);
}

const TtsValue& LibCall::Argument(int index) const noexcept {
    return TtsLibBase::Argument(arguments_, index);
}

std::string LibCall::Text(int index) const {
    return ToText(Argument(index));
}

std::int32_t LibCall::Integer(int index) const {
    return ToInteger(Argument(index));
}

bool LibCall::Flag(int index, bool absent) const {
    return index < Count() ? ToBoolean(Argument(index)) : absent;
}

const TtsValue* LibCall::Named(std::string_view name) const noexcept {
    const front::TtsExpression* argument = TtsLibBase::NamedArgument(arguments_, name);
    return argument ? &argument->Value() : nullptr;
}

void LibCall::Return(const TtsValue& value) {
    result_.SetValue(value);
}

void LibCall::ReturnText(std::string_view text) {
    result_.SetValue(TtsValue::FromText(text));
}

void LibCall::ReturnInteger(std::int64_t number) {
    result_.SetValue(TtsValue::FromInteger(number));
}

void LibCall::ReturnBoolean(bool flag) {
    result_.SetValue(TtsValue::FromBoolean(flag));
}

void LibCall::ReturnObject(TtsObject* object) {
    result_.SetValue(object ? TtsValue::FromCountedObject(object) : TtsValue());
}

void TtsLibBase::RegisterGlobal(std::string_view name, TtsObject* implementation) {
    host_.SetVariable(name,
                      implementation ? TtsValue::FromCountedObject(implementation) : TtsValue());
}

} // namespace ozra::runtime
