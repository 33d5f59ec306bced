// Callable handles on script functions and methods.
#include "runtime/call_object.h"

#include "runtime/evaluator.h"
#include "runtime/evaluator_internal.h"
#include "value/errors.h"

namespace ozra::runtime {

using namespace value;

front::TtsExpressions ConstantExpressions(std::span<const TtsValue> values) {
    front::TtsExpressions expressions;
    for (const TtsValue& value : values) {
        auto constant = MakeRef<front::TtsConst>(nullptr);
        constant->OwnValue = value;
        expressions.Add(std::move(constant));
    }
    return expressions;
}

TtsCallObject::TtsCallObject(Ref<front::TtsFunctionNode> function, Ref<front::TtsObjectNode> object,
                             std::string name) noexcept
    : function_(std::move(function)), object_(std::move(object)), name_(std::move(name)) {}

Ref<TtsCallObject> TtsCallObject::Prepare(TtsResult& context, std::string_view name,
                                          const TtsValue& receiver, const front::TtsNode& scope) {
    auto* object =
        front::NodeCast<front::TtsObjectNode>(dynamic_cast<front::TtsNode*>(receiver.Object()));
    front::TtsFunctionNode* function = nullptr;
    if (object) {
        function = detail::FindMethod(object->ClassNode, context, name);
        if (!function) throw EtsRuntime::FunctionNotFound(name);
    } else {
        function = static_cast<front::TtsFunctionNode*>(
            scope.FindNode(name, front::NodeKind::FunctionNode));
    }
    return MakeRef<TtsCallObject>(Ref<front::TtsFunctionNode>::Retain(function),
                                  Ref<front::TtsObjectNode>::Retain(object), std::string(name));
}

int TtsCallObject::ParameterCount() const noexcept {
    return function_->Parameters ? function_->Parameters->Count() : 0;
}

void TtsCallObject::Call(TtsResult& context, std::span<const TtsValue> arguments, TtsValue& out) {
    if (static_cast<std::size_t>(arguments_.Count()) != arguments.size())
        arguments_ = ConstantExpressions(arguments);
    for (std::size_t i = 0; i < arguments.size(); ++i)
        arguments_[static_cast<int>(i)]->OwnValue = arguments[i];
    const front::TtsExpressions* passed = arguments.empty() ? nullptr : &arguments_;
    if (object_) {
        CallMethod(*object_, context, name_, out, false, nullptr, passed);
    } else {
        CallFunction(*function_, context, passed, out);
    }
}

} // namespace ozra::runtime
