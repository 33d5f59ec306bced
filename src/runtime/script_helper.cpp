// Script-object calls made by host code, each in its own child context.
#include "runtime/script_helper.h"

#include "runtime/evaluator.h"
#include "runtime/global_data.h"
#include "runtime/result.h"
#include "value/errors.h"

namespace ozra::runtime {

using namespace value;

TtsResult& TScriptHelper::RootContext() const {
    if (!global_.RootContext) throw EtsRuntime("no script is running.");
    return *global_.RootContext;
}

void TScriptHelper::Call(front::TtsObjectNode& object, std::string_view method) {
    ChildContext child(RootContext(), true);
    TtsValue ignored;
    CallMethod(object, child.Get(), method, ignored, true, nullptr, nullptr);
}

std::string TScriptHelper::CallForText(front::TtsObjectNode& object, std::string_view method) {
    ChildContext child(RootContext(), true);
    TtsValue ignored;
    CallMethod(object, child.Get(), method, ignored, false, nullptr, nullptr);
    return std::move(child.Get().Text);
}

TtsValue TScriptHelper::CallForValue(front::TtsObjectNode& object, std::string_view method) {
    ChildContext child(RootContext(), true);
    TtsValue result;
    CallMethod(object, child.Get(), method, result, true, nullptr, nullptr);
    return result;
}

TOzraExecutor::TOzraExecutor(TtsResult& rootContext, front::TtsObjectNode& object,
                             std::string dottedMethod)
    : rootContext_(rootContext), object_(Ref<front::TtsObjectNode>::Retain(&object)),
      dottedMethod_(std::move(dottedMethod)) {}

void TOzraExecutor::AddArgument(TtsObject* hostObject, std::string_view name) {
    auto argument = MakeRef<front::TtsConst>(nullptr);
    argument->OwnValue = TtsValue::FromCountedObject(hostObject);
    argument->Name = std::string(name);
    arguments_.Add(std::move(argument));
}

TtsValue TOzraExecutor::Execute() {
    ChildContext child(rootContext_, true);
    front::TtsObjectNode* current = object_.Get();
    std::string_view rest = dottedMethod_;
    for (std::size_t dot = rest.find('.'); dot != std::string_view::npos; dot = rest.find('.')) {
        const TtsValue& value = Member(*current, rest.substr(0, dot)).Value();
        current =
            front::NodeCast<front::TtsObjectNode>(dynamic_cast<front::TtsNode*>(value.Object()));
        if (!current) throw EtsRuntime::NotFoundOrInvalid(dottedMethod_);
        rest.remove_prefix(dot + 1);
    }
    TtsValue result;
    CallMethod(*current, child.Get(), rest, result, false, nullptr, &arguments_);
    return result;
}

} // namespace ozra::runtime
