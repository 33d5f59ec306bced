// The default behaviour of every library: published-method dispatch,
// properties as argument-less calls, indexes as properties named by the
// index text, read-only properties, and the argument check of the calling
// convention.
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
    const Method method = FindMethod(name);
    if (!method) throw EtsRuntime::FunctionNotFound(name);
    (this->*method)(context, value, arguments);
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

TtsLibBase::Method TtsLibBase::FindMethod(std::string_view name) const noexcept {
    const std::uint32_t hash = NameHash(name);
    for (const MethodEntry& entry : methods_) {
        if (entry.Hash == hash && NamesEqual(entry.Name, name)) return entry.Function;
    }
    return nullptr;
}

void TtsLibBase::AddMethod(std::string_view name, Method function) {
    methods_.push_back({NameHash(name), name, function});
}

void TtsLibBase::CheckArguments(TtsResult& context, const front::TtsExpressions* arguments,
                                int maxCount, int minCount) {
    const int count = ArgumentCount(arguments);
    if (count < minCount) throw EtsRuntime::NotEnoughParameters();
    if (count > maxCount) throw EtsRuntime::TooManyParameters();
    if (!arguments) return;
    for (const auto& argument : *arguments)
        Evaluate(*argument, context);
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

void TtsLibBase::RegisterGlobal(std::string_view name, TtsObject* implementation) {
    host_.SetVariable(name,
                      implementation ? TtsValue::FromCountedObject(implementation) : TtsValue());
}

} // namespace ozra::runtime
