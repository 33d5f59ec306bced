// Building loaded nodes and setting their fields.
#include "compiled/stream_fields.h"

#include "compiled/stream_bytes.h"

namespace ozra::compiled {

using namespace front;
using value::Ref;

namespace {

constexpr int Key(int group, int field) {
    return group * 8 + field;
}

[[noreturn]] void OutOfRange(const FieldRule& rule) {
    throw EtsCompiler("[" + std::to_string(rule.Group) + ", " + std::to_string(rule.Field) +
                      "] out of range.");
}

char ByteOf(const FieldRule& rule, std::int32_t number) {
    if (number < 0 || number > 255) OutOfRange(rule);
    return static_cast<char>(static_cast<unsigned char>(number));
}

template <class T> bool Owns(Ref<T>& field, TtsNode& target) {
    T* node = NodeCast<T>(&target);
    if (!node) return false;
    field = Ref<T>::Retain(node);
    return true;
}

template <class T> bool Points(T*& field, TtsNode& target) {
    T* node = NodeCast<T>(&target);
    if (!node) return false;
    field = node;
    return true;
}

} // namespace

Ref<TtsNode> MakeBareNode(NodeKind kind, NodeArena& arena) {
    switch (kind) {
    case NodeKind::Variable:
        return MakeNode<TtsVariable>(arena, nullptr);
    case NodeKind::GcVariable:
        return MakeNode<TtsGcVariable>(arena, nullptr);
    case NodeKind::FsVariable:
        return MakeNode<TtsFsVariable>(arena, nullptr);
    case NodeKind::Const:
        return MakeNode<TtsConst>(arena, nullptr);
    case NodeKind::VarRef:
        return MakeNode<TtsVarRef>(arena, nullptr);
    case NodeKind::PropRef:
        return MakeNode<TtsPropRef>(arena, nullptr);
    case NodeKind::IndexExpr:
        return MakeNode<TtsIndexExpr>(arena, nullptr);
    case NodeKind::Set:
        return MakeNode<TtsSet>(arena, nullptr);
    case NodeKind::NaryOperator:
        return MakeNode<TtsNaryOperator>(arena, nullptr);
    case NodeKind::DualOperator:
        return MakeNode<TtsDualOperator>(arena, nullptr);
    case NodeKind::FunctionExpr:
        return MakeNode<TtsFunctionExpr>(arena, nullptr);
    case NodeKind::FilterExpr:
        return MakeNode<TtsFilterExpr>(arena, nullptr);
    case NodeKind::RangeExpr:
        return MakeNode<TtsRangeExpr>(arena, nullptr);
    case NodeKind::SubSetExpr:
        return MakeNode<TtsSubSetExpr>(arena, nullptr);
    case NodeKind::Text:
        return MakeNode<TtsText>(arena, nullptr);
    case NodeKind::Block:
        return MakeNode<TtsBlock>(arena, nullptr);
    case NodeKind::Control:
        return MakeNode<TtsControl>(arena, nullptr);
    case NodeKind::IfNode:
        return MakeNode<TtsIfNode>(arena, nullptr);
    case NodeKind::CaseNode:
        return MakeNode<TtsCaseNode>(arena, nullptr);
    case NodeKind::LoopNode:
        return MakeNode<TtsLoopNode>(arena, nullptr);
    case NodeKind::ForNode:
        return MakeNode<TtsForNode>(arena, nullptr);
    case NodeKind::ForeachNode:
        return MakeNode<TtsForeachNode>(arena, nullptr);
    case NodeKind::FunctionNode:
        return MakeNode<TtsFunctionNode>(arena, nullptr);
    case NodeKind::ClassNode:
        return MakeNode<TtsClassNode>(arena, nullptr);
    case NodeKind::FileNode:
        return MakeNode<TtsFileNode>(arena, nullptr);
    case NodeKind::OldUsing:
        return MakeNode<TtsOldUsing>(arena, nullptr);
    case NodeKind::OldCopy:
        return MakeNode<TtsOldCopy>(arena, nullptr);
    case NodeKind::OldExecute:
        return MakeNode<TtsOldExecute>(arena, nullptr);
    case NodeKind::AssignNode:
        return MakeNode<TtsAssignNode>(arena, nullptr);
    case NodeKind::TryNode:
        return MakeNode<TtsTryNode>(arena, nullptr);
    case NodeKind::Exit:
        return MakeNode<TtsExit>(arena, nullptr);
    case NodeKind::Skip:
        return MakeNode<TtsSkip>(arena, nullptr);
    case NodeKind::Assign:
        return MakeNode<TtsAssign>(arena, nullptr);
    case NodeKind::VarDefine:
        return MakeNode<TtsVarDefine>(arena, nullptr);
    case NodeKind::RefDefine:
        return MakeNode<TtsRefDefine>(arena, nullptr);
    case NodeKind::Call:
        return MakeNode<TtsCall>(arena, nullptr);
    case NodeKind::Output:
        return MakeNode<TtsOutput>(arena, nullptr);
    case NodeKind::Using:
        return MakeNode<TtsUsing>(arena, nullptr);
    default:
        throw EtsCompiler("[" + std::string(NodeKindName(kind)) + "] not found.");
    }
}

// Integer, bool and byte fields of nodes; the reference count and the
// run-time counters are read and dropped.
void ApplyInteger(TtsNode& node, const FieldRule& rule, std::int32_t number) {
    switch (Key(rule.Group, rule.Field)) {
    case Key(22, 2):
        // Parameter modes and run-once marks are 0 or 1 between runs.
        if (number != 0 && number != 1) OutOfRange(rule);
        node.Tag = number;
        return;
    case Key(29, 0):
        static_cast<TtsVarRef&>(node).AtPrefix = number != 0;
        return;
    case Key(34, 1):
        static_cast<TtsNaryOperator&>(node).OperatorCode = ByteOf(rule, number);
        return;
    case Key(35, 2):
        static_cast<TtsDualOperator&>(node).OperatorCode = ByteOf(rule, number);
        return;
    case Key(48, 2):
        static_cast<TtsCaseNode&>(node).CaseOperator = ByteOf(rule, number);
        return;
    case Key(54, 1):
        static_cast<TtsFileNode&>(node).Overwrite = number != 0;
        return;
    case Key(60, 1):
        static_cast<TtsAssign&>(node).AssignOperator = ByteOf(rule, number);
        return;
    case Key(63, 1):
        static_cast<TtsCall&>(node).NewLine = number != 0;
        return;
    default:
        return;
    }
}

void ApplyString(TtsNode& node, const FieldRule& rule, std::string_view text) {
    switch (Key(rule.Group, rule.Field)) {
    case Key(22, 1):
        node.Name = text;
        return;
    case Key(29, 3):
        static_cast<TtsVarRef&>(node).RefName = text;
        return;
    case Key(38, 3):
        static_cast<TtsFilterExpr&>(node).ItemName = text;
        return;
    case Key(43, 0):
        static_cast<TtsText&>(node).Text = text;
        return;
    case Key(52, 3):
        static_cast<TtsFunctionNode&>(node).FunctionName = text;
        return;
    case Key(69, 0):
        static_cast<TtsOldCopy&>(node).SourcePath = text;
        return;
    case Key(70, 0):
        static_cast<TtsOldExecute&>(node).ProgramPath = text;
        return;
    default:
        return;
    }
}

bool AttachNode(TtsNode& owner, const FieldRule& rule, TtsNode& target) {
    switch (Key(rule.Group, rule.Field)) {
    case Key(23, 0):
        static_cast<TtsExpression&>(owner).OwnValue = value::TtsValue::FromObject(&target);
        return true;
    case Key(25, 0):
        return Points(static_cast<TtsVariable&>(owner).Owner, target);
    case Key(29, 4):
        return Owns(static_cast<TtsVarRef&>(owner).PropRef, target);
    case Key(29, 5):
        return Owns(static_cast<TtsVarRef&>(owner).ObjectExpression, target);
    case Key(34, 0):
        return Owns(static_cast<TtsNaryOperator&>(owner).Operand, target);
    case Key(35, 0):
        return Owns(static_cast<TtsDualOperator&>(owner).Left, target);
    case Key(35, 1):
        return Owns(static_cast<TtsDualOperator&>(owner).Right, target);
    case Key(36, 0):
        return Owns(static_cast<TtsFunctionExpr&>(owner).Callee, target);
    case Key(38, 0):
        return Owns(static_cast<TtsFilterExpr&>(owner).ItemVariable, target);
    case Key(38, 1):
        return Owns(static_cast<TtsFilterExpr&>(owner).Source, target);
    case Key(38, 2):
        return Owns(static_cast<TtsFilterExpr&>(owner).Condition, target);
    case Key(39, 0):
        return Owns(static_cast<TtsIndexExpr&>(owner).Target, target);
    case Key(39, 1):
        return Owns(static_cast<TtsIndexExpr&>(owner).Index, target);
    case Key(40, 0):
        return Owns(static_cast<TtsRangeExpr&>(owner).RangeStart, target);
    case Key(40, 1):
        return Owns(static_cast<TtsRangeExpr&>(owner).RangeEnd, target);
    case Key(41, 0):
        return Owns(static_cast<TtsSubSetExpr&>(owner).Source, target);
    case Key(45, 0):
        return Owns(static_cast<TtsControl&>(owner).Body, target);
    case Key(46, 0): {
        // "else" is a block, "elseif" and "elsecase" the next link.
        if (target.Kind != NodeKind::Block && !IsKindOf(target.Kind, NodeKind::LogicNode))
            return false;
        return Owns(static_cast<TtsLogicNode&>(owner).ElseBranch, target);
    }
    case Key(47, 0):
        return Owns(static_cast<TtsIfNode&>(owner).Condition, target);
    case Key(48, 0):
        return Owns(static_cast<TtsCaseNode&>(owner).Selector, target);
    case Key(48, 1):
        return Owns(static_cast<TtsCaseNode&>(owner).CaseValues, target);
    case Key(49, 0):
        return Owns(static_cast<TtsLoopNode&>(owner).UntilCondition, target);
    case Key(49, 1):
        return Owns(static_cast<TtsLoopNode&>(owner).WhileCondition, target);
    case Key(50, 0):
        return Points(static_cast<TtsForNode&>(owner).Variable, target);
    case Key(50, 1):
        return Owns(static_cast<TtsForNode&>(owner).StartValue, target);
    case Key(50, 2):
        return Owns(static_cast<TtsForNode&>(owner).EndValue, target);
    case Key(50, 3):
        return Owns(static_cast<TtsForNode&>(owner).StepValue, target);
    case Key(51, 0):
        return Points(static_cast<TtsForeachNode&>(owner).Variable, target);
    case Key(51, 1):
        return Owns(static_cast<TtsForeachNode&>(owner).Collection, target);
    case Key(51, 2):
        return Owns(static_cast<TtsForeachNode&>(owner).Cursor, target);
    case Key(51, 3):
        return Owns(static_cast<TtsForeachNode&>(owner).Filter, target);
    case Key(52, 1):
        return Points(static_cast<TtsFunctionNode&>(owner).ResultVariable, target);
    case Key(53, 0):
        return Owns(static_cast<TtsClassNode&>(owner).BaseReference, target);
    case Key(53, 1):
        return Points(static_cast<TtsClassNode&>(owner).BaseVariable, target);
    case Key(53, 4):
        return Points(static_cast<TtsClassNode&>(owner).ThisVariable, target);
    case Key(54, 0):
        return Points(static_cast<TtsFileNode&>(owner).FileNameVariable, target);
    case Key(54, 2):
        return Points(static_cast<TtsFileNode&>(owner).TargetVariable, target);
    case Key(55, 0):
        return Owns(static_cast<TtsAssignNode&>(owner).Target, target);
    case Key(56, 0):
        return Points(static_cast<TtsTryNode&>(owner).ExceptionVariable, target);
    case Key(56, 1):
        return Owns(static_cast<TtsTryNode&>(owner).ExceptBlock, target);
    case Key(56, 2):
        return Owns(static_cast<TtsTryNode&>(owner).FinallyBlock, target);
    case Key(60, 0):
        return Owns(static_cast<TtsAssign&>(owner).Value, target);
    case Key(60, 2):
        return Owns(static_cast<TtsAssign&>(owner).Target, target);
    case Key(63, 0):
        return Owns(static_cast<TtsCall&>(owner).Expression, target);
    case Key(65, 0):
        return Owns(static_cast<TtsUsing&>(owner).UsedBlock, target);
    case Key(70, 1):
        return Points(static_cast<TtsOldExecute&>(owner).ParameterVariable, target);
    default:
        // Run-time state is not restored.
        return true;
    }
}

bool AttachItem(TtsNode& owner, const FieldRule& rule, TtsNode* item) {
    const auto add = [&](auto& list) {
        using Item = std::remove_reference_t<decltype(*list.begin()->Get())>;
        Item* node = NodeCast<Item>(item);
        if (node) list.Add(Ref<Item>::Retain(node));
        return node != nullptr;
    };
    switch (Key(rule.Group, rule.Field)) {
    case Key(32, 0):
        return add(static_cast<TtsSet&>(owner).Elements);
    case Key(36, 1):
        return add(static_cast<TtsFunctionExpr&>(owner).Arguments);
    case Key(41, 1):
        return add(static_cast<TtsSubSetExpr&>(owner).Ranges);
    case Key(44, 0):
        return add(static_cast<TtsBlock&>(owner).Statements);
    default:
        return false;
    }
}

bool AttachEntry(TtsNode& owner, const FieldRule& rule, std::string_view name, TtsNode* item) {
    switch (Key(rule.Group, rule.Field)) {
    case Key(30, 1):
        // A name list: names only.
        if (item) return false;
        static_cast<TtsPropRef&>(owner).NameParts.emplace_back(name);
        return true;
    case Key(44, 1):
        // What the builder names: variables, functions and classes, units.
        if (!item ||
            (!IsKindOf(item->Kind, NodeKind::Variable) &&
             !IsKindOf(item->Kind, NodeKind::FunctionNode) && item->Kind != NodeKind::Block))
            return false;
        static_cast<TtsBlock&>(owner).Names.AddCounted(name, item);
        return true;
    case Key(52, 0): {
        auto* parameter = NodeCast<TtsVariable>(item);
        if (!parameter) return false;
        auto& function = static_cast<TtsFunctionNode&>(owner);
        if (!function.Parameters) function.Parameters = std::make_unique<value::TtsParameters>();
        function.Parameters->AddCounted(name, parameter);
        return true;
    }
    default:
        return false;
    }
}

void ReserveItems(TtsNode& owner, const FieldRule& rule, std::size_t count) {
    switch (Key(rule.Group, rule.Field)) {
    case Key(30, 1):
        static_cast<TtsPropRef&>(owner).NameParts.reserve(count);
        return;
    case Key(32, 0):
        static_cast<TtsSet&>(owner).Elements.Reserve(count);
        return;
    case Key(36, 1):
        static_cast<TtsFunctionExpr&>(owner).Arguments.Reserve(count);
        return;
    case Key(41, 1):
        static_cast<TtsSubSetExpr&>(owner).Ranges.Reserve(count);
        return;
    case Key(44, 0):
        static_cast<TtsBlock&>(owner).Statements.Reserve(count);
        return;
    case Key(44, 1):
        static_cast<TtsBlock&>(owner).Names.Reserve(count);
        return;
    default:
        return;
    }
}

void SetReplaceFlag(TtsNode& owner, const FieldRule& rule, bool allowReplace) {
    if (Key(rule.Group, rule.Field) == Key(44, 1)) {
        static_cast<TtsBlock&>(owner).Names.SetAllowReplace(allowReplace);
    } else if (auto* function = NodeCast<TtsFunctionNode>(&owner);
               function && function->Parameters) {
        function->Parameters->SetAllowReplace(allowReplace);
    }
}

void Unlink(TtsNode& node) {
    if (auto* reference = NodeCast<TtsVarRef>(&node)) {
        reference->PropRef.Reset();
        reference->ObjectExpression.Reset();
    }
    if (auto* set = NodeCast<TtsSet>(&node)) set->Elements.Clear();
    if (auto* unary = NodeCast<TtsNaryOperator>(&node)) unary->Operand.Reset();
    if (auto* binary = NodeCast<TtsDualOperator>(&node)) {
        binary->Left.Reset();
        binary->Right.Reset();
    }
    if (auto* call = NodeCast<TtsFunctionExpr>(&node)) {
        call->Callee.Reset();
        call->Arguments.Clear();
    }
    if (auto* filter = NodeCast<TtsFilterExpr>(&node)) {
        filter->ItemVariable.Reset();
        filter->Source.Reset();
        filter->Condition.Reset();
    }
    if (auto* index = NodeCast<TtsIndexExpr>(&node)) {
        index->Target.Reset();
        index->Index.Reset();
    }
    if (auto* range = NodeCast<TtsRangeExpr>(&node)) {
        range->RangeStart.Reset();
        range->RangeEnd.Reset();
    }
    if (auto* subset = NodeCast<TtsSubSetExpr>(&node)) {
        subset->Source.Reset();
        subset->Ranges.Clear();
    }
    if (auto* block = NodeCast<TtsBlock>(&node)) {
        block->Statements.Clear();
        block->Names.RemoveAll();
    }
    if (auto* control = NodeCast<TtsControl>(&node)) control->Body.Reset();
    if (auto* logic = NodeCast<TtsLogicNode>(&node)) logic->ElseBranch.Reset();
    if (auto* ifNode = NodeCast<TtsIfNode>(&node)) ifNode->Condition.Reset();
    if (auto* caseNode = NodeCast<TtsCaseNode>(&node)) {
        caseNode->Selector.Reset();
        caseNode->CaseValues.Reset();
    }
    if (auto* loop = NodeCast<TtsLoopNode>(&node)) {
        loop->UntilCondition.Reset();
        loop->WhileCondition.Reset();
    }
    if (auto* loop = NodeCast<TtsForNode>(&node)) {
        loop->StartValue.Reset();
        loop->EndValue.Reset();
        loop->StepValue.Reset();
    }
    if (auto* loop = NodeCast<TtsForeachNode>(&node)) {
        loop->Collection.Reset();
        loop->Cursor.Reset();
        loop->Filter.Reset();
    }
    if (auto* function = NodeCast<TtsFunctionNode>(&node)) {
        function->Parameters.reset();
        function->Locals.clear();
    }
    if (auto* cls = NodeCast<TtsClassNode>(&node)) cls->BaseReference.Reset();
    if (auto* assignNode = NodeCast<TtsAssignNode>(&node)) assignNode->Target.Reset();
    if (auto* tryNode = NodeCast<TtsTryNode>(&node)) {
        tryNode->ExceptBlock.Reset();
        tryNode->FinallyBlock.Reset();
    }
    if (auto* assign = NodeCast<TtsAssign>(&node)) {
        assign->Value.Reset();
        assign->Target.Reset();
    }
    if (auto* call = NodeCast<TtsCall>(&node)) call->Expression.Reset();
    if (auto* used = NodeCast<TtsUsing>(&node)) {
        used->UsedBlock.Reset();
        used->UsedBlockParent.Reset();
        used->UsedTree.Reset();
    }
}

const char* MissingPart(const TtsNode& node) {
    switch (node.Kind) {
    case NodeKind::IndexExpr: {
        const auto& index = static_cast<const TtsIndexExpr&>(node);
        return !index.Target ? "Target" : !index.Index ? "Index" : nullptr;
    }
    case NodeKind::NaryOperator:
        return static_cast<const TtsNaryOperator&>(node).Operand ? nullptr : "Operand";
    case NodeKind::DualOperator: {
        const auto& binary = static_cast<const TtsDualOperator&>(node);
        return !binary.Left ? "Left" : !binary.Right ? "Right" : nullptr;
    }
    case NodeKind::FunctionExpr:
        return static_cast<const TtsFunctionExpr&>(node).Callee ? nullptr : "Callee";
    case NodeKind::FilterExpr: {
        const auto& filter = static_cast<const TtsFilterExpr&>(node);
        return !filter.ItemVariable ? "ItemVariable"
               : !filter.Source     ? "Source"
               : !filter.Condition  ? "Condition"
                                    : nullptr;
    }
    case NodeKind::RangeExpr: {
        const auto& range = static_cast<const TtsRangeExpr&>(node);
        return !range.RangeStart ? "RangeStart" : !range.RangeEnd ? "RangeEnd" : nullptr;
    }
    case NodeKind::SubSetExpr:
        return static_cast<const TtsSubSetExpr&>(node).Source ? nullptr : "Source";
    case NodeKind::IfNode:
        return static_cast<const TtsIfNode&>(node).Condition ? nullptr : "Condition";
    case NodeKind::CaseNode: {
        const auto& caseNode = static_cast<const TtsCaseNode&>(node);
        return !caseNode.Selector ? "Selector" : !caseNode.CaseValues ? "CaseValues" : nullptr;
    }
    case NodeKind::ForNode: {
        const auto& loop = static_cast<const TtsForNode&>(node);
        return !loop.Variable     ? "Variable"
               : !loop.StartValue ? "StartValue"
               : !loop.EndValue   ? "EndValue"
                                  : nullptr;
    }
    case NodeKind::ForeachNode: {
        const auto& loop = static_cast<const TtsForeachNode&>(node);
        return !loop.Variable     ? "Variable"
               : !loop.Collection ? "Collection"
               : !loop.Cursor     ? "Cursor"
                                  : nullptr;
    }
    case NodeKind::FunctionNode:
        return static_cast<const TtsFunctionNode&>(node).ResultVariable ? nullptr
                                                                        : "ResultVariable";
    case NodeKind::ClassNode: {
        const auto& cls = static_cast<const TtsClassNode&>(node);
        return !cls.ResultVariable ? "ResultVariable"
               : !cls.BaseVariable ? "BaseVariable"
               : !cls.ThisVariable ? "ThisVariable"
                                   : nullptr;
    }
    case NodeKind::FileNode:
    case NodeKind::OldUsing:
    case NodeKind::OldCopy:
    case NodeKind::OldExecute: {
        const auto& file = static_cast<const TtsFileNode&>(node);
        if (!file.FileNameVariable) return "FileNameVariable";
        if (!file.TargetVariable) return "TargetVariable";
        if (node.Kind == NodeKind::OldExecute &&
            !static_cast<const TtsOldExecute&>(node).ParameterVariable)
            return "ParameterVariable";
        return nullptr;
    }
    case NodeKind::AssignNode:
        return static_cast<const TtsAssignNode&>(node).Target ? nullptr : "Target";
    case NodeKind::TryNode: {
        const auto& tryNode = static_cast<const TtsTryNode&>(node);
        return tryNode.ExceptBlock && !tryNode.ExceptionVariable ? "ExceptionVariable" : nullptr;
    }
    // «ref r = y» only names y anew; it has no target.
    case NodeKind::Assign:
    case NodeKind::VarDefine:
        return static_cast<const TtsAssign&>(node).Target ? nullptr : "Target";
    case NodeKind::Call:
    case NodeKind::Output:
        return static_cast<const TtsCall&>(node).Expression ? nullptr : "Expression";
    default:
        return nullptr;
    }
}

} // namespace ozra::compiled
