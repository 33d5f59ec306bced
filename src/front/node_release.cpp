// What a syntax node hands over when its last reference goes (see
// value/object.h): every counted reference its fields hold. A node freed
// this way is never used again, so its fields are simply emptied; the
// plain pointers (parents, caches, owners) stay as they are.
#include "front/syntax_tree.h"

namespace ozra::front {

using value::OwnedReferences;

namespace {

template <class T> void Take(Ref<T>& field, OwnedReferences& into) {
    into.Add(std::move(field));
}

void TakeExpressionFields(TtsNode& node, OwnedReferences& into) {
    auto& expression = static_cast<TtsExpression&>(node);
    // A variable that holds a script object keeps it alive; that object may
    // hold the next one, and so on down a chain.
    if (value::TtsValueHelper::IsCounted(expression.OwnValue)) {
        into.Add(Ref<value::TtsObject>::Retain(expression.OwnValue.Object()));
        expression.OwnValue = value::TtsValue();
    }
    if (auto* reference = NodeCast<TtsVarRef>(&node)) {
        Take(reference->PropRef, into);
        Take(reference->ObjectExpression, into);
    }
    if (auto* index = NodeCast<TtsIndexExpr>(&node)) {
        Take(index->Target, into);
        Take(index->Index, into);
    }
    if (auto* set = NodeCast<TtsSet>(&node)) set->Elements.MoveReferencesTo(into);
    if (auto* unary = NodeCast<TtsNaryOperator>(&node)) Take(unary->Operand, into);
    if (auto* binary = NodeCast<TtsDualOperator>(&node)) {
        Take(binary->Left, into);
        Take(binary->Right, into);
    }
    if (auto* call = NodeCast<TtsFunctionExpr>(&node)) {
        Take(call->Callee, into);
        call->Arguments.MoveReferencesTo(into);
    }
    if (auto* setExpression = NodeCast<TtsSetExpr>(&node)) Take(setExpression->ResultSet, into);
    if (auto* filter = NodeCast<TtsFilterExpr>(&node)) {
        Take(filter->ItemVariable, into);
        Take(filter->Source, into);
        Take(filter->Condition, into);
    }
    if (auto* range = NodeCast<TtsRangeExpr>(&node)) {
        Take(range->RangeStart, into);
        Take(range->RangeEnd, into);
    }
    if (auto* subset = NodeCast<TtsSubSetExpr>(&node)) {
        Take(subset->Source, into);
        subset->Ranges.MoveReferencesTo(into);
    }
}

void TakeControlFields(TtsControl& control, OwnedReferences& into) {
    Take(control.Body, into);
    if (auto* logic = NodeCast<TtsLogicNode>(&control)) Take(logic->ElseBranch, into);
    if (auto* ifNode = NodeCast<TtsIfNode>(&control)) Take(ifNode->Condition, into);
    if (auto* caseNode = NodeCast<TtsCaseNode>(&control)) {
        Take(caseNode->Selector, into);
        Take(caseNode->CaseValues, into);
    }
    if (auto* loop = NodeCast<TtsLoopNode>(&control)) {
        Take(loop->UntilCondition, into);
        Take(loop->WhileCondition, into);
    }
    if (auto* forNode = NodeCast<TtsForNode>(&control)) {
        Take(forNode->StartValue, into);
        Take(forNode->EndValue, into);
        Take(forNode->StepValue, into);
    }
    if (auto* foreach = NodeCast<TtsForeachNode>(&control)) {
        Take(foreach->Collection, into);
        Take(foreach->Cursor, into);
        Take(foreach->Filter, into);
    }
    if (auto* function = NodeCast<TtsFunctionNode>(&control)) {
        if (function->Parameters) function->Parameters->MoveReferencesTo(into);
        for (Ref<TtsVariable>& local : function->Locals)
            Take(local, into);
    }
    if (auto* classNode = NodeCast<TtsClassNode>(&control)) Take(classNode->BaseReference, into);
    if (auto* oldUsing = NodeCast<TtsOldUsing>(&control)) {
        Take(oldUsing->UsedBlock, into);
        Take(oldUsing->UsedBlockParent, into);
        Take(oldUsing->UsedTree, into);
    }
    if (auto* assignNode = NodeCast<TtsAssignNode>(&control)) Take(assignNode->Target, into);
    if (auto* tryNode = NodeCast<TtsTryNode>(&control)) {
        Take(tryNode->ExceptBlock, into);
        Take(tryNode->FinallyBlock, into);
    }
}

void TakeStatementFields(TtsNode& node, OwnedReferences& into) {
    if (auto* block = NodeCast<TtsBlock>(&node)) {
        block->Statements.MoveReferencesTo(into);
        block->Names.MoveReferencesTo(into);
    }
    if (auto* control = NodeCast<TtsControl>(&node)) TakeControlFields(*control, into);
    if (auto* assign = NodeCast<TtsAssign>(&node)) {
        Take(assign->Value, into);
        Take(assign->Target, into);
    }
    if (auto* call = NodeCast<TtsCall>(&node)) Take(call->Expression, into);
    if (auto* used = NodeCast<TtsUsing>(&node)) {
        Take(used->UsedBlock, into);
        Take(used->UsedBlockParent, into);
        Take(used->UsedTree, into);
    }
}

} // namespace

void TtsNode::TakeOwnedReferences(OwnedReferences& into) noexcept {
    if (IsKindOf(Kind, NodeKind::Expression)) {
        TakeExpressionFields(*this, into);
    } else {
        TakeStatementFields(*this, into);
    }
}

} // namespace ozra::front
