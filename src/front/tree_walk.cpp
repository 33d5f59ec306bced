// The owned children of every node class.
#include "front/tree_walk.h"

namespace ozra::front {

namespace {

template <class T> void Visit(const Ref<T>& child, const std::function<void(TtsNode&)>& visit) {
    if (child) visit(*child);
}

template <class T>
void VisitAll(const value::TtsListOf<T>& list, const std::function<void(TtsNode&)>& visit) {
    for (const auto& item : list)
        Visit(item, visit);
}

} // namespace

void ForEachChild(TtsNode& node, const std::function<void(TtsNode&)>& visit) {
    if (auto* reference = NodeCast<TtsVarRef>(&node)) {
        Visit(reference->PropRef, visit);
        Visit(reference->ObjectExpression, visit);
    }
    if (auto* index = NodeCast<TtsIndexExpr>(&node)) {
        Visit(index->Target, visit);
        Visit(index->Index, visit);
    }
    if (auto* set = NodeCast<TtsSet>(&node)) VisitAll(set->Elements, visit);
    if (auto* unary = NodeCast<TtsNaryOperator>(&node)) Visit(unary->Operand, visit);
    if (auto* binary = NodeCast<TtsDualOperator>(&node)) {
        Visit(binary->Left, visit);
        Visit(binary->Right, visit);
    }
    if (auto* call = NodeCast<TtsFunctionExpr>(&node)) {
        Visit(call->Callee, visit);
        VisitAll(call->Arguments, visit);
    }
    if (auto* filter = NodeCast<TtsFilterExpr>(&node)) {
        Visit(filter->ItemVariable, visit);
        Visit(filter->Source, visit);
        Visit(filter->Condition, visit);
    }
    if (auto* range = NodeCast<TtsRangeExpr>(&node)) {
        Visit(range->RangeStart, visit);
        Visit(range->RangeEnd, visit);
    }
    if (auto* subset = NodeCast<TtsSubSetExpr>(&node)) {
        Visit(subset->Source, visit);
        VisitAll(subset->Ranges, visit);
    }
    if (auto* block = NodeCast<TtsBlock>(&node)) VisitAll(block->Statements, visit);
    if (auto* control = NodeCast<TtsControl>(&node)) Visit(control->Body, visit);
    if (auto* logic = NodeCast<TtsLogicNode>(&node)) Visit(logic->ElseBranch, visit);
    if (auto* ifNode = NodeCast<TtsIfNode>(&node)) Visit(ifNode->Condition, visit);
    if (auto* caseNode = NodeCast<TtsCaseNode>(&node)) {
        Visit(caseNode->Selector, visit);
        Visit(caseNode->CaseValues, visit);
    }
    if (auto* loop = NodeCast<TtsLoopNode>(&node)) {
        Visit(loop->UntilCondition, visit);
        Visit(loop->WhileCondition, visit);
    }
    if (auto* loop = NodeCast<TtsForNode>(&node)) {
        Visit(loop->StartValue, visit);
        Visit(loop->EndValue, visit);
        Visit(loop->StepValue, visit);
    }
    if (auto* loop = NodeCast<TtsForeachNode>(&node)) {
        Visit(loop->Collection, visit);
        Visit(loop->Cursor, visit);
        Visit(loop->Filter, visit);
    }
    if (auto* cls = NodeCast<TtsClassNode>(&node)) Visit(cls->BaseReference, visit);
    if (auto* assignNode = NodeCast<TtsAssignNode>(&node)) Visit(assignNode->Target, visit);
    if (auto* tryNode = NodeCast<TtsTryNode>(&node)) {
        Visit(tryNode->ExceptBlock, visit);
        Visit(tryNode->FinallyBlock, visit);
    }
    if (auto* assign = NodeCast<TtsAssign>(&node)) {
        Visit(assign->Value, visit);
        Visit(assign->Target, visit);
    }
    if (auto* call = NodeCast<TtsCall>(&node)) Visit(call->Expression, visit);
    if (auto* used = NodeCast<TtsUsing>(&node)) Visit(used->UsedBlock, visit);
}

} // namespace ozra::front
