// Name references and argument lists for calls made by name.
#include "compiled/script_calls.h"

namespace ozra::compiled {

using namespace front;
using value::MakeRef;
using value::Ref;

Ref<TtsVarRef> NameReference(std::string_view name, TtsNode* scope) {
    Ref<TtsVarRef> reference;
    if (name.find('.') == std::string_view::npos) {
        reference = MakeRef<TtsVarRef>(scope);
    } else {
        reference = MakeRef<TtsPropRef>(scope);
    }
    reference->SetName(name);
    return reference;
}

TtsExpressions ArgumentsAfterFirst(const runtime::LibCall& call) {
    TtsExpressions rest;
    for (int i = 1; i < call.Count(); ++i) {
        TtsExpression* argument = call.Arguments()->Item(i);
        if (!PassedByPosition(*argument) && IsKindOf(argument->Kind, NodeKind::Variable)) {
            rest.Add(Ref<TtsExpression>::Retain(argument));
            continue;
        }
        auto value = MakeRef<TtsConst>(nullptr);
        value->OwnValue = call.Argument(i);
        value->Name = argument->Name;
        rest.Add(std::move(value));
    }
    return rest;
}

} // namespace ozra::compiled
