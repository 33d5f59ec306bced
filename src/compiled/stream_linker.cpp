// Linking the objects of a loaded tree and deriving what the builder
// derives.
#include "compiled/stream_linker.h"

#include "compiled/stream_bytes.h"

#include <string>
#include <unordered_map>
#include <utility>

namespace ozra::compiled {

using namespace front;
using value::Ref;
using value::TtsValue;

namespace {

constexpr int Key(int group, int field) {
    return group * 8 + field;
}

// The first part the builder always makes that a node lacks, or nullptr.
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

class Linker {
  public:
    Linker(DecodedStream& stream, const TreeShape& shape) : stream_(stream), shape_(shape) {}

    Ref<TtsBlock> Run() {
        StreamObject& root = stream_.Objects.front();
        if (root.ClassNumber != static_cast<std::int32_t>(StreamClass::Block))
            throw EtsCompiler("object " + std::to_string(root.Number) + " is not a block.");
        for (std::size_t i = 0; i < stream_.Links.size(); ++i) {
            const StreamLink& link = stream_.Links[i];
            if (shape_.Kept[link.From] && !shape_.Dropped[i] &&
                link.Rule->Role != LinkRole::RunTime)
                Link(link);
        }
        Derive();
        for (const StreamObject& object : Tree()) {
            if (const char* part = MissingPart(*object.Node))
                throw EtsCompiler("object " + std::to_string(object.Number) + " lacks its " + part +
                                  ".");
        }
        return Ref<TtsBlock>::Retain(static_cast<TtsBlock*>(root.Node.Get()));
    }

  private:
    // The nodes of the tree.
    std::vector<std::reference_wrapper<StreamObject>> Tree() {
        std::vector<std::reference_wrapper<StreamObject>> nodes;
        for (std::size_t i = 0; i < stream_.Objects.size(); ++i) {
            if (shape_.Kept[i] && stream_.Objects[i].Node) nodes.emplace_back(stream_.Objects[i]);
        }
        return nodes;
    }

    StreamObject& Target(std::int32_t index) {
        return stream_.Objects[static_cast<std::size_t>(index)];
    }

    [[noreturn]] void WrongClass(std::int32_t index, const FieldRule& rule) {
        throw EtsCompiler("object " + std::to_string(Target(index).Number) +
                          " has the wrong class for [" + std::to_string(rule.Group) + ", " +
                          std::to_string(rule.Field) + "].");
    }

    template <class T> T* NodeAt(std::int32_t index, const FieldRule& rule) {
        T* node = index < 0 ? nullptr : NodeCast<T>(Target(index).Node.Get());
        if (!node) WrongClass(index, rule);
        return node;
    }
    template <class T> T* NodeOf(const StreamLink& link) {
        return NodeAt<T>(link.Target, *link.Rule);
    }
    template <class T> Ref<T> Owned(const StreamLink& link) {
        return Ref<T>::Retain(NodeOf<T>(link));
    }

    const StreamObject& Container(const StreamLink& link, StreamClass expected) {
        const StreamObject& object = Target(link.Target);
        if (object.ClassNumber != static_cast<std::int32_t>(expected))
            WrongClass(link.Target, *link.Rule);
        return object;
    }

    template <class T> value::TtsListOf<T> List(const StreamLink& link, StreamClass expected) {
        const StreamObject& list = Container(link, expected);
        value::TtsListOf<T> items;
        for (std::uint32_t i = 0; i < list.ItemCount; ++i)
            items.Add(Ref<T>::Retain(NodeAt<T>(stream_.Items[list.FirstItem + i], *link.Rule)));
        return items;
    }

    // The entries of the string list a name table keeps.
    std::pair<const StreamEntry*, const StreamEntry*> TableEntries(const StreamLink& link,
                                                                   const StreamObject& table) {
        if (table.Storage < 0) return {nullptr, nullptr};
        const StreamObject& storage = Target(table.Storage);
        if (storage.Class.Use != ClassUse::StringList) WrongClass(table.Storage, *link.Rule);
        const StreamEntry* first = stream_.Entries.data() + storage.FirstItem;
        return {first, first + storage.ItemCount};
    }

    void LinkNames(TtsBlock& block, const StreamLink& link) {
        const StreamObject& table = Container(link, StreamClass::UserIds);
        const auto [first, last] = TableEntries(link, table);
        for (const StreamEntry* entry = first; entry != last; ++entry) {
            TtsNode* named = NodeAt<TtsNode>(entry->Target, *link.Rule);
            // What the builder names: variables, functions and classes, units.
            if (!IsKindOf(named->Kind, NodeKind::Variable) &&
                !IsKindOf(named->Kind, NodeKind::FunctionNode) && named->Kind != NodeKind::Block)
                WrongClass(entry->Target, *link.Rule);
            block.Names.AddCounted(entry->Name, named);
        }
        block.Names.SetAllowReplace(table.AllowReplace);
    }

    void LinkParameters(TtsFunctionNode& function, const StreamLink& link) {
        const StreamObject& table = Container(link, StreamClass::Parameters);
        auto parameters = std::make_unique<value::TtsParameters>();
        const auto [first, last] = TableEntries(link, table);
        for (const StreamEntry* entry = first; entry != last; ++entry)
            parameters->AddCounted(entry->Name, NodeAt<TtsVariable>(entry->Target, *link.Rule));
        function.Parameters = std::move(parameters);
    }

    void LinkNameParts(TtsPropRef& reference, const StreamLink& link) {
        const StreamObject& list = Target(link.Target);
        if (list.Class.Use != ClassUse::StringList) WrongClass(link.Target, *link.Rule);
        reference.NameParts.clear();
        for (std::uint32_t i = 0; i < list.ItemCount; ++i) {
            const StreamEntry& entry = stream_.Entries[list.FirstItem + i];
            if (entry.Target >= 0) WrongClass(entry.Target, *link.Rule);
            reference.NameParts.emplace_back(entry.Name);
        }
    }

    void LinkElse(TtsLogicNode& logic, const StreamLink& link) {
        auto* branch = NodeOf<TtsStatement>(link);
        if (branch->Kind != NodeKind::Block && !IsKindOf(branch->Kind, NodeKind::LogicNode))
            WrongClass(link.Target, *link.Rule);
        logic.ElseBranch = Ref<TtsStatement>::Retain(branch);
    }

    void Link(const StreamLink& link) {
        TtsNode& node = *stream_.Objects[link.From].Node;
        switch (Key(link.Rule->Group, link.Rule->Field)) {
        case Key(22, 0):
            node.Parent = NodeOf<TtsNode>(link);
            return;
        case Key(23, 0):
            static_cast<TtsExpression&>(node).OwnValue =
                TtsValue::FromObject(NodeOf<TtsNode>(link));
            return;
        case Key(25, 0):
            static_cast<TtsVariable&>(node).Owner = NodeOf<TtsFunctionNode>(link);
            return;
        case Key(29, 4):
            static_cast<TtsVarRef&>(node).PropRef = Owned<TtsPropRef>(link);
            return;
        case Key(29, 5):
            static_cast<TtsVarRef&>(node).ObjectExpression = Owned<TtsExpression>(link);
            return;
        case Key(30, 1):
            LinkNameParts(static_cast<TtsPropRef&>(node), link);
            return;
        case Key(32, 0):
            static_cast<TtsSet&>(node).Elements =
                List<TtsExpression>(link, StreamClass::Expressions);
            return;
        case Key(34, 0):
            static_cast<TtsNaryOperator&>(node).Operand = Owned<TtsExpression>(link);
            return;
        case Key(35, 0):
            static_cast<TtsDualOperator&>(node).Left = Owned<TtsExpression>(link);
            return;
        case Key(35, 1):
            static_cast<TtsDualOperator&>(node).Right = Owned<TtsExpression>(link);
            return;
        case Key(36, 0):
            static_cast<TtsFunctionExpr&>(node).Callee = Owned<TtsVarRef>(link);
            return;
        case Key(36, 1):
            static_cast<TtsFunctionExpr&>(node).SetArguments(
                List<TtsExpression>(link, StreamClass::Expressions));
            return;
        case Key(38, 0):
            static_cast<TtsFilterExpr&>(node).ItemVariable = Owned<TtsVariable>(link);
            return;
        case Key(38, 1):
            static_cast<TtsFilterExpr&>(node).Source = Owned<TtsExpression>(link);
            return;
        case Key(38, 2):
            static_cast<TtsFilterExpr&>(node).Condition = Owned<TtsExpression>(link);
            return;
        case Key(39, 0):
            static_cast<TtsIndexExpr&>(node).Target = Owned<TtsExpression>(link);
            return;
        case Key(39, 1):
            static_cast<TtsIndexExpr&>(node).Index = Owned<TtsExpression>(link);
            return;
        case Key(40, 0):
            static_cast<TtsRangeExpr&>(node).RangeStart = Owned<TtsExpression>(link);
            return;
        case Key(40, 1):
            static_cast<TtsRangeExpr&>(node).RangeEnd = Owned<TtsExpression>(link);
            return;
        case Key(41, 0):
            static_cast<TtsSubSetExpr&>(node).Source = Owned<TtsExpression>(link);
            return;
        case Key(41, 1):
            static_cast<TtsSubSetExpr&>(node).Ranges =
                List<TtsExpression>(link, StreamClass::Expressions);
            return;
        case Key(44, 0):
            static_cast<TtsBlock&>(node).Statements = List<TtsStatement>(link, StreamClass::Nodes);
            return;
        case Key(44, 1):
            LinkNames(static_cast<TtsBlock&>(node), link);
            return;
        case Key(45, 0):
            static_cast<TtsControl&>(node).Body = Owned<TtsBlock>(link);
            return;
        case Key(46, 0):
            LinkElse(static_cast<TtsLogicNode&>(node), link);
            return;
        case Key(47, 0):
            static_cast<TtsIfNode&>(node).Condition = Owned<TtsExpression>(link);
            return;
        case Key(48, 0):
            static_cast<TtsCaseNode&>(node).Selector = Owned<TtsExpression>(link);
            return;
        case Key(48, 1):
            static_cast<TtsCaseNode&>(node).CaseValues = Owned<TtsSet>(link);
            return;
        case Key(49, 0):
            static_cast<TtsLoopNode&>(node).UntilCondition = Owned<TtsExpression>(link);
            return;
        case Key(49, 1):
            static_cast<TtsLoopNode&>(node).WhileCondition = Owned<TtsExpression>(link);
            return;
        case Key(50, 0):
            static_cast<TtsForNode&>(node).Variable = NodeOf<TtsVariable>(link);
            return;
        case Key(50, 1):
            static_cast<TtsForNode&>(node).StartValue = Owned<TtsExpression>(link);
            return;
        case Key(50, 2):
            static_cast<TtsForNode&>(node).EndValue = Owned<TtsExpression>(link);
            return;
        case Key(50, 3):
            static_cast<TtsForNode&>(node).StepValue = Owned<TtsExpression>(link);
            return;
        case Key(51, 0):
            static_cast<TtsForeachNode&>(node).Variable = NodeOf<TtsVariable>(link);
            return;
        case Key(51, 1):
            static_cast<TtsForeachNode&>(node).Collection = Owned<TtsExpression>(link);
            return;
        case Key(51, 2):
            static_cast<TtsForeachNode&>(node).Cursor = Owned<TtsVariable>(link);
            return;
        case Key(51, 3):
            static_cast<TtsForeachNode&>(node).Filter = Owned<TtsExpression>(link);
            return;
        case Key(52, 0):
            LinkParameters(static_cast<TtsFunctionNode&>(node), link);
            return;
        case Key(52, 1):
            static_cast<TtsFunctionNode&>(node).ResultVariable = NodeOf<TtsVariable>(link);
            return;
        case Key(53, 0):
            static_cast<TtsClassNode&>(node).BaseReference = Owned<TtsVarRef>(link);
            return;
        case Key(53, 1):
            static_cast<TtsClassNode&>(node).BaseVariable = NodeOf<TtsVariable>(link);
            return;
        case Key(53, 4):
            static_cast<TtsClassNode&>(node).ThisVariable = NodeOf<TtsVariable>(link);
            return;
        case Key(54, 0):
            static_cast<TtsFileNode&>(node).FileNameVariable = NodeOf<TtsVariable>(link);
            return;
        case Key(54, 2):
            static_cast<TtsFileNode&>(node).TargetVariable = NodeOf<TtsVariable>(link);
            return;
        case Key(55, 0):
            static_cast<TtsAssignNode&>(node).Target = Owned<TtsVarRef>(link);
            return;
        case Key(56, 0):
            static_cast<TtsTryNode&>(node).ExceptionVariable = NodeOf<TtsVariable>(link);
            return;
        case Key(56, 1):
            static_cast<TtsTryNode&>(node).ExceptBlock = Owned<TtsBlock>(link);
            return;
        case Key(56, 2):
            static_cast<TtsTryNode&>(node).FinallyBlock = Owned<TtsBlock>(link);
            return;
        case Key(60, 0):
            static_cast<TtsAssign&>(node).Value = Owned<TtsExpression>(link);
            return;
        case Key(60, 2):
            static_cast<TtsAssign&>(node).Target = Owned<TtsVarRef>(link);
            return;
        case Key(63, 0):
            static_cast<TtsCall&>(node).Expression = Owned<TtsExpression>(link);
            return;
        case Key(65, 0):
            // Held once every parent link is made (see `Derive`).
            usedUnits_.emplace_back(&static_cast<TtsUsing&>(node), Owned<TtsBlock>(link));
            return;
        case Key(70, 1):
            static_cast<TtsOldExecute&>(node).ParameterVariable = NodeOf<TtsVariable>(link);
            return;
        default:
            return;
        }
    }

    // What the builder derives while it builds: the holders of used units,
    // each function's own variables, and a set's value, which is the set.
    void Derive() {
        for (auto& [statement, block] : usedUnits_)
            HoldUsedBlock(std::move(block), statement->UsedBlock, statement->UsedBlockParent,
                          statement->UsedTree);
        std::unordered_map<TtsFunctionNode*, std::vector<TtsVariable*>> locals;
        const std::vector<std::reference_wrapper<StreamObject>> tree = Tree();
        for (StreamObject& object : tree) {
            auto* variable = NodeCast<TtsVariable>(object.Node.Get());
            if (variable && variable->Kind == NodeKind::FsVariable && variable->Owner)
                locals[variable->Owner].push_back(variable);
        }
        for (StreamObject& object : tree) {
            if (auto* function = NodeCast<TtsFunctionNode>(object.Node.Get()))
                function->RestoreDerived(locals[function]);
            if (auto* set = NodeCast<TtsSet>(object.Node.Get());
                set && set->Value().Object() != set)
                throw EtsCompiler("object " + std::to_string(object.Number) +
                                  " is a set whose value is not itself.");
        }
    }

    DecodedStream& stream_;
    const TreeShape& shape_;
    std::vector<std::pair<TtsUsing*, Ref<TtsBlock>>> usedUnits_;
};

} // namespace

Ref<TtsBlock> LinkTree(DecodedStream& stream, const TreeShape& shape) {
    return Linker(stream, shape).Run();
}

} // namespace ozra::compiled
