// Evaluating names where a run is paused.
#include "debugger/inspection.h"

#include "runtime/evaluator.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/names.h"

#include <set>

namespace ozra::debugger {

using namespace front;

namespace {

// Where names are looked up from: a control's body sees the control's own
// variables (a loop variable, a function's parameters).
TtsNode* ScopeOf(const runtime::TtsResult& context) {
    TtsNode* node = context.CurrentNode;
    if (auto* control = NodeCast<TtsControl>(node)) return control->Body.Get();
    return node;
}

struct NameOrder {
    bool operator()(const std::string& a, const std::string& b) const noexcept {
        return value::CompareNames(a, b) < 0;
    }
};

std::string ValueText(const value::TtsValue& value) {
    return value.IsObject() ? "[Object]" : value::ToText(value);
}

} // namespace

std::string InspectName(std::string_view name, runtime::TtsDebugResult& context) {
    const std::size_t start = name.find_first_not_of(" \t");
    name = start == std::string_view::npos ? std::string_view() : name.substr(start);
    try {
        TtsNode* scope = ScopeOf(context);
        Ref<TtsVarRef> reference = name.find('.') == std::string_view::npos
                                       ? Ref<TtsVarRef>(value::MakeRef<TtsVarRef>(scope))
                                       : Ref<TtsVarRef>(value::MakeRef<TtsPropRef>(scope));
        reference->SetName(name);
        return ValueText(runtime::Evaluate(*reference, context));
    } catch (const std::exception& error) {
        return error.what();
    }
}

std::vector<VisibleVariable> VisibleVariables(runtime::TtsDebugResult& context) {
    std::vector<VisibleVariable> variables;
    std::set<std::string, NameOrder> seen;
    for (TtsNode* node = ScopeOf(context); node; node = node->Parent) {
        auto* block = NodeCast<TtsBlock>(node);
        if (!block) continue;
        for (int i = 0; i < block->Names.Count(); ++i) {
            auto* variable = NodeCast<TtsVariable>(block->Names.Item(i));
            if (!variable) continue;
            const std::string name(block->Names.Name(i));
            if (!seen.insert(name).second) continue;
            const value::TtsValue& current = variable->Value();
            variables.push_back({name, ValueText(current), current.IsObject()});
        }
    }
    return variables;
}

} // namespace ozra::debugger
