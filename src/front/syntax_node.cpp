// Name lookup along the parent chain, value writes of expression nodes, and
// the class names of the node tags.
#include "front/syntax_tree.h"

#include "value/errors.h"
#include "value/names.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace ozra::front {

// Indexed by NodeKind; the order is that of the enumeration.
constexpr std::string_view kKindNames[] = {
    "TtsNode",         "TtsExpression",   "TtsVariable",     "TtsGcVariable", "TtsFsVariable",
    "TtsSysTick",      "TtsSysNow",       "TtsConst",        "TtsVarRef",     "TtsPropRef",
    "TtsIndexExpr",    "TtsComplex",      "TtsSet",          "TtsOperator",   "TtsNaryOperator",
    "TtsDualOperator", "TtsFunctionExpr", "TtsSetExpr",      "TtsFilterExpr", "TtsRangeExpr",
    "TtsSubSetExpr",   "TtsStatement",    "TtsText",         "TtsBlock",      "TtsHost",
    "TtsControl",      "TtsLogicNode",    "TtsIfNode",       "TtsCaseNode",   "TtsLoopNode",
    "TtsForNode",      "TtsForeachNode",  "TtsFunctionNode", "TtsClassNode",  "TtsFileNode",
    "TtsOldFile",      "TtsOldUsing",     "TtsOldCopy",      "TtsOldExecute", "TtsAssignNode",
    "TtsTryNode",      "TtsObjectNode",   "TtsCommand",      "TtsExit",       "TtsSkip",
    "TtsAssign",       "TtsVarDefine",    "TtsRefDefine",    "TtsCall",       "TtsOutput",
    "TtsUsing",        "TtsControlEnd",   "TtsFunctionEnd",
};
static_assert(std::size(kKindNames) == static_cast<std::size_t>(NodeKind::FunctionEnd) + 1);

std::string_view NodeKindName(NodeKind kind) noexcept {
    const auto index = static_cast<std::size_t>(kind);
    return index < std::size(kKindNames) ? kKindNames[index] : "TtsNode";
}

TtsNode::~TtsNode() = default;

namespace {

using value::TtsObject;

bool Accepts(TtsObject* entry, const NodeKind* required) {
    if (!entry) return false;
    if (!required) return true;
    const auto* node = dynamic_cast<const TtsNode*>(entry);
    return node && IsKindOf(node->Kind, *required);
}

TtsObject* FromNames(const value::TtsUserIds& names, std::string_view name,
                     const NodeKind* required) {
    TtsObject* entry = names.Find(name);
    return Accepts(entry, required) ? entry : nullptr;
}

TtsObject* LoopVariable(TtsVariable* variable, std::string_view name, const NodeKind* required) {
    if (variable && value::NamesEqual(variable->Name, name) && Accepts(variable, required))
        return variable;
    return nullptr;
}

// A class answers from its own body, then from its base classes' bodies. The
// base links are set by the runtime; a cycle among them ends the search
// instead of looping.
TtsObject* FromClass(const TtsClassNode& start, std::string_view name, const NodeKind* required) {
    std::vector<const TtsClassNode*> seen;
    for (const TtsClassNode* cls = &start; cls; cls = cls->BaseClass) {
        if (std::find(seen.begin(), seen.end(), cls) != seen.end()) break;
        seen.push_back(cls);
        if (cls->Body) {
            if (TtsObject* found = FromNames(cls->Body->Names, name, required)) return found;
        }
    }
    return nullptr;
}

// What a node answers by itself, before its parent is asked.
TtsObject* OwnAnswer(const TtsNode& node, std::string_view name, const NodeKind* required) {
    if (IsKindOf(node.Kind, NodeKind::Block))
        return FromNames(static_cast<const TtsBlock&>(node).Names, name, required);
    switch (node.Kind) {
    case NodeKind::ForeachNode:
        return LoopVariable(static_cast<const TtsForeachNode&>(node).Variable, name, required);
    case NodeKind::FilterExpr:
        return LoopVariable(static_cast<const TtsFilterExpr&>(node).ItemVariable.Get(), name,
                            required);
    case NodeKind::ClassNode:
        return FromClass(static_cast<const TtsClassNode&>(node), name, required);
    default:
        return nullptr;
    }
}

TtsObject* Lookup(const TtsNode* node, std::string_view name, const NodeKind* required) {
    for (; node; node = node->Parent) {
        if (TtsObject* found = OwnAnswer(*node, name, required)) return found;
    }
    return nullptr;
}

[[noreturn]] void RaiseNotFound(std::string_view name, NodeKind required) {
    switch (required) {
    case NodeKind::Variable:
        throw value::EtsRuntime::VariableNotFound(name);
    case NodeKind::FunctionNode:
        throw value::EtsRuntime::FunctionNotFound(name);
    case NodeKind::ClassNode:
        throw value::EtsRuntime::ClassNotFound(name);
    default:
        throw value::EtsRuntime::NotFoundOrInvalid(name);
    }
}

} // namespace

value::TtsObject* TtsNode::FindNode(std::string_view name) const {
    return Lookup(this, name, nullptr);
}

TtsNode* TtsNode::FindNode(std::string_view name, NodeKind required) const {
    TtsObject* found = Lookup(this, name, &required);
    if (!found) RaiseNotFound(name, required);
    return dynamic_cast<TtsNode*>(found);
}

void TtsExpression::SetObject(value::TtsObject* object) {
    SetValue(object ? value::TtsValue::FromObject(object) : value::TtsValue());
}

} // namespace ozra::front
