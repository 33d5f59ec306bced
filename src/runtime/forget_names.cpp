// Dropping what the references of a tree have resolved.
#include "runtime/evaluator.h"

#include "front/tree_walk.h"

#include <unordered_set>
#include <vector>

namespace ozra::runtime {

using namespace front;

namespace {

void Forget(TtsNode& node) {
    if (auto* reference = NodeCast<TtsVarRef>(&node)) {
        reference->FunctionCache = nullptr;
        reference->TargetCache = nullptr;
        reference->PlainTarget = nullptr;
    }
    if (auto* dotted = NodeCast<TtsPropRef>(&node)) dotted->FirstMember = 0;
    if (auto* binary = NodeCast<TtsDualOperator>(&node)) {
        binary->LeftSlot = nullptr;
        binary->RightSlot = nullptr;
    }
    if (auto* call = NodeCast<TtsFunctionExpr>(&node)) call->DirectFunction = nullptr;
    if (auto* assign = NodeCast<TtsAssign>(&node)) {
        assign->InPlaceDecided = false;
        assign->TargetSlot = nullptr;
        assign->OperandSlot = nullptr;
    }
    if (auto* cls = NodeCast<TtsClassNode>(&node)) cls->BaseClass = nullptr;
}

} // namespace

void ForgetResolvedNames(TtsNode& root) {
    std::vector<TtsNode*> pending{&root};
    std::unordered_set<const TtsNode*> seen{&root};
    while (!pending.empty()) {
        TtsNode& node = *pending.back();
        pending.pop_back();
        Forget(node);
        ForEachChild(node, [&](TtsNode& child) {
            if (seen.insert(&child).second) pending.push_back(&child);
        });
    }
}

} // namespace ozra::runtime
