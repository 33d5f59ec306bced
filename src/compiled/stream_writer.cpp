// Numbering the objects of a tree and writing their blocks.
#include "compiled/stream_writer.h"

#include "compiled/stream_bytes.h"
#include "compiled/stream_classes.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ozra::compiled {

using namespace front;
using value::TtsValue;

namespace {

// The containers a node holds by value and the stream writes as objects.
enum class ItemKind : std::uint8_t {
    Node,
    Statements,
    Expressions,
    Names,
    NamesStorage,
    Parameters,
    ParametersStorage,
    NameParts,
    ValueStack,
    PValueStack,
};

// One object of the stream; a null address is no object.
struct Item {
    ItemKind Kind = ItemKind::Node;
    const void* Address = nullptr;

    bool operator==(const Item&) const = default;
};

struct ItemHash {
    std::size_t operator()(const Item& item) const noexcept {
        return std::hash<const void*>()(item.Address) * 16 + static_cast<std::size_t>(item.Kind);
    }
};

Item NodeItem(const TtsNode* node) {
    return Item{ItemKind::Node, node};
}

[[noreturn]] void NotRegistered(std::string_view className) {
    throw EtsCompiler("[" + std::string(className) + "] not found.");
}

const TtsNode* AsNode(const value::TtsObject* object) {
    const auto* node = dynamic_cast<const TtsNode*>(object);
    if (object && !node) NotRegistered(object->ClassName());
    return node;
}

std::int32_t ClassNumber(const Item& item) {
    switch (item.Kind) {
    case ItemKind::Node: {
        const auto* node = static_cast<const TtsNode*>(item.Address);
        const auto number = ClassOfNode(node->Kind);
        if (!number) NotRegistered(node->ClassName());
        return static_cast<std::int32_t>(*number);
    }
    case ItemKind::Statements:
        return static_cast<std::int32_t>(StreamClass::Nodes);
    case ItemKind::Expressions:
        return static_cast<std::int32_t>(StreamClass::Expressions);
    case ItemKind::Names:
        return static_cast<std::int32_t>(StreamClass::UserIds);
    case ItemKind::NamesStorage:
        return static_cast<std::int32_t>(StreamClass::StringListEx);
    case ItemKind::Parameters:
        return static_cast<std::int32_t>(StreamClass::Parameters);
    case ItemKind::ParametersStorage:
        return static_cast<std::int32_t>(StreamClass::HashedStringList);
    case ItemKind::NameParts:
        return static_cast<std::int32_t>(StreamClass::GenericStringList);
    case ItemKind::ValueStack:
        return static_cast<std::int32_t>(StreamClass::ValueStack);
    case ItemKind::PValueStack:
        return static_cast<std::int32_t>(StreamClass::PValueStack);
    }
    return 0;
}

std::int32_t Byte(char code) {
    return static_cast<unsigned char>(code);
}

// Calls `out` for every field of a node, group by group in increasing
// order, as `out.Integer`, `String`, `Ref`, `Value`, `Marker` and the list
// forms `ListBegin` + `ListItem` and `StringListBegin` + `Entry`.
template <class Out> void NodeFields(const TtsNode& node, Out& out) {
    out.Integer(1, 0, node.RefCount());
    out.Ref(22, 0, NodeItem(node.Parent));
    out.String(22, 1, node.Name);
    out.Integer(22, 2, node.Tag);
    if (const auto* expression = NodeCast<TtsExpression>(&node)) {
        out.Value(23, 0, expression->OwnValue);
        out.Ref(23, 1, Item{ItemKind::PValueStack, &expression->SlotStack});
        out.Marker(23, 2);
    }
    if (const auto* variable = NodeCast<TtsVariable>(&node))
        out.Ref(25, 0, NodeItem(variable->Owner));
    if (const auto* reference = NodeCast<TtsVarRef>(&node)) {
        out.Integer(29, 0, reference->AtPrefix);
        out.String(29, 3, reference->RefName);
        out.Ref(29, 4, NodeItem(reference->PropRef.Get()));
        out.Ref(29, 5, NodeItem(reference->ObjectExpression.Get()));
    }
    if (const auto* dotted = NodeCast<TtsPropRef>(&node))
        out.Ref(30, 1, Item{ItemKind::NameParts, &dotted->NameParts});
    if (const auto* set = NodeCast<TtsSet>(&node))
        out.Ref(32, 0, Item{ItemKind::Expressions, &set->Elements});
    if (const auto* unary = NodeCast<TtsNaryOperator>(&node)) {
        out.Ref(34, 0, NodeItem(unary->Operand.Get()));
        out.Integer(34, 1, Byte(unary->OperatorCode));
    }
    if (const auto* binary = NodeCast<TtsDualOperator>(&node)) {
        out.Ref(35, 0, NodeItem(binary->Left.Get()));
        out.Ref(35, 1, NodeItem(binary->Right.Get()));
        out.Integer(35, 2, Byte(binary->OperatorCode));
    }
    if (const auto* call = NodeCast<TtsFunctionExpr>(&node)) {
        out.Ref(36, 0, NodeItem(call->Callee.Get()));
        // "f()" has no argument list.
        if (!call->Arguments.IsEmpty())
            out.Ref(36, 1, Item{ItemKind::Expressions, &call->Arguments});
    }
    if (const auto* filter = NodeCast<TtsFilterExpr>(&node)) {
        out.Ref(38, 0, NodeItem(filter->ItemVariable.Get()));
        out.Ref(38, 1, NodeItem(filter->Source.Get()));
        out.Ref(38, 2, NodeItem(filter->Condition.Get()));
        out.String(38, 3, filter->ItemName);
    }
    if (const auto* index = NodeCast<TtsIndexExpr>(&node)) {
        out.Ref(39, 0, NodeItem(index->Target.Get()));
        out.Ref(39, 1, NodeItem(index->Index.Get()));
    }
    if (const auto* range = NodeCast<TtsRangeExpr>(&node)) {
        out.Ref(40, 0, NodeItem(range->RangeStart.Get()));
        out.Ref(40, 1, NodeItem(range->RangeEnd.Get()));
    }
    if (const auto* subset = NodeCast<TtsSubSetExpr>(&node)) {
        out.Ref(41, 0, NodeItem(subset->Source.Get()));
        out.Ref(41, 1, Item{ItemKind::Expressions, &subset->Ranges});
    }
    if (const auto* text = NodeCast<TtsText>(&node)) out.String(43, 0, text->Text);
    if (const auto* block = NodeCast<TtsBlock>(&node)) {
        out.Ref(44, 0, Item{ItemKind::Statements, &block->Statements});
        out.Ref(44, 1, Item{ItemKind::Names, &block->Names});
    }
    if (const auto* control = NodeCast<TtsControl>(&node))
        out.Ref(45, 0, NodeItem(control->Body.Get()));
    if (const auto* logic = NodeCast<TtsLogicNode>(&node))
        out.Ref(46, 0, NodeItem(logic->ElseBranch.Get()));
    if (const auto* ifNode = NodeCast<TtsIfNode>(&node))
        out.Ref(47, 0, NodeItem(ifNode->Condition.Get()));
    if (const auto* caseNode = NodeCast<TtsCaseNode>(&node)) {
        out.Ref(48, 0, NodeItem(caseNode->Selector.Get()));
        out.Ref(48, 1, NodeItem(caseNode->CaseValues.Get()));
        out.Integer(48, 2, Byte(caseNode->CaseOperator));
    }
    if (const auto* loop = NodeCast<TtsLoopNode>(&node)) {
        out.Ref(49, 0, NodeItem(loop->UntilCondition.Get()));
        out.Ref(49, 1, NodeItem(loop->WhileCondition.Get()));
    }
    if (const auto* loop = NodeCast<TtsForNode>(&node)) {
        out.Ref(50, 0, NodeItem(loop->Variable));
        out.Ref(50, 1, NodeItem(loop->StartValue.Get()));
        out.Ref(50, 2, NodeItem(loop->EndValue.Get()));
        out.Ref(50, 3, NodeItem(loop->StepValue.Get()));
    }
    if (const auto* loop = NodeCast<TtsForeachNode>(&node)) {
        out.Ref(51, 0, NodeItem(loop->Variable));
        out.Ref(51, 1, NodeItem(loop->Collection.Get()));
        out.Ref(51, 2, NodeItem(loop->Cursor.Get()));
        out.Ref(51, 3, NodeItem(loop->Filter.Get()));
    }
    if (const auto* function = NodeCast<TtsFunctionNode>(&node)) {
        out.Ref(52, 0, Item{ItemKind::Parameters, function->Parameters.get()});
        out.Ref(52, 1, NodeItem(function->ResultVariable));
        out.Ref(52, 2, Item{ItemKind::ValueStack, &function->SavedValues});
        out.String(52, 3, function->FunctionName);
    }
    if (const auto* cls = NodeCast<TtsClassNode>(&node)) {
        out.Ref(53, 0, NodeItem(cls->BaseReference.Get()));
        out.Ref(53, 1, NodeItem(cls->BaseVariable));
        out.Ref(53, 4, NodeItem(cls->ThisVariable));
    }
    if (const auto* file = NodeCast<TtsFileNode>(&node)) {
        out.Ref(54, 0, NodeItem(file->FileNameVariable));
        out.Integer(54, 1, file->Overwrite);
        out.Ref(54, 2, NodeItem(file->TargetVariable));
    }
    if (const auto* assignNode = NodeCast<TtsAssignNode>(&node))
        out.Ref(55, 0, NodeItem(assignNode->Target.Get()));
    if (const auto* tryNode = NodeCast<TtsTryNode>(&node)) {
        out.Ref(56, 0, NodeItem(tryNode->ExceptionVariable));
        out.Ref(56, 1, NodeItem(tryNode->ExceptBlock.Get()));
        out.Ref(56, 2, NodeItem(tryNode->FinallyBlock.Get()));
    }
    if (const auto* assign = NodeCast<TtsAssign>(&node)) {
        out.Ref(60, 0, NodeItem(assign->Value.Get()));
        out.Integer(60, 1, Byte(assign->AssignOperator));
        out.Ref(60, 2, NodeItem(assign->Target.Get()));
    }
    if (const auto* call = NodeCast<TtsCall>(&node)) {
        out.Ref(63, 0, NodeItem(call->Expression.Get()));
        out.Integer(63, 1, call->NewLine);
    }
    if (const auto* used = NodeCast<TtsUsing>(&node))
        out.Ref(65, 0, NodeItem(used->UsedBlock.Get()));
    if (const auto* copy = NodeCast<TtsOldCopy>(&node)) out.String(69, 0, copy->SourcePath);
    if (const auto* execute = NodeCast<TtsOldExecute>(&node)) {
        out.String(70, 0, execute->ProgramPath);
        out.Ref(70, 1, NodeItem(execute->ParameterVariable));
    }
}

template <class T, class Out> void ListFields(const value::TtsListOf<T>& list, Out& out) {
    out.ListBegin(4, 0, list.Count());
    for (const auto& item : list)
        out.ListItem(NodeItem(item.Get()));
}

template <class Out> void TableEntries(const value::TtsHash& table, bool sorted, Out& out) {
    out.StringListBegin(6, 0, table.Count(), sorted);
    for (int i = 0; i < table.Count(); ++i)
        out.Entry(table.Name(i), NodeItem(AsNode(table.Item(i))));
}

template <class Out> void Fields(const Item& item, Out& out) {
    switch (item.Kind) {
    case ItemKind::Node:
        NodeFields(*static_cast<const TtsNode*>(item.Address), out);
        return;
    case ItemKind::Statements:
        ListFields(*static_cast<const TtsNodes*>(item.Address), out);
        return;
    case ItemKind::Expressions:
        ListFields(*static_cast<const TtsExpressions*>(item.Address), out);
        return;
    case ItemKind::Names: {
        const auto& names = *static_cast<const value::TtsUserIds*>(item.Address);
        out.Ref(7, 0, Item{ItemKind::NamesStorage, &names});
        out.Integer(7, 1, names.AllowReplace());
        return;
    }
    case ItemKind::Parameters:
        out.Ref(7, 0, Item{ItemKind::ParametersStorage, item.Address});
        return;
    case ItemKind::NamesStorage:
        TableEntries(*static_cast<const value::TtsUserIds*>(item.Address), true, out);
        return;
    case ItemKind::ParametersStorage:
        TableEntries(*static_cast<const value::TtsParameters*>(item.Address), false, out);
        return;
    case ItemKind::NameParts: {
        const auto& parts = *static_cast<const std::vector<std::string>*>(item.Address);
        out.StringListBegin(6, 0, static_cast<int>(parts.size()), false);
        for (const std::string& part : parts)
            out.Entry(part, Item{});
        return;
    }
    case ItemKind::ValueStack:
        out.Integer(13, 0, static_cast<const value::TtsValueStack*>(item.Address)->Depth());
        return;
    case ItemKind::PValueStack:
        return;
    }
}

// The object a value refers to, when it refers to one.
Item ValueItem(const TtsValue& value) {
    if (value.Kind() == value::ValueKind::Automation) NotRegistered("automation object");
    return NodeItem(AsNode(value.Object()));
}

// First pass: the objects an object names, in the order its fields name
// them.
class References {
  public:
    void Integer(int, int, std::int32_t) {}
    void String(int, int, std::string_view) {}
    void Marker(int, int) {}
    void Ref(int, int, const Item& item) { Add(item); }
    void Value(int, int, const TtsValue& value) { Add(ValueItem(value)); }
    void ListBegin(int, int, int) {}
    void ListItem(const Item& item) { Add(item); }
    void StringListBegin(int, int, int, bool) {}
    void Entry(std::string_view, const Item& item) { Add(item); }

    std::vector<Item> Take() { return std::move(items_); }

  private:
    void Add(const Item& item) {
        if (item.Address) items_.push_back(item);
    }

    std::vector<Item> items_;
};

// Second pass: an object's own part, with every object already numbered.
class OwnPart {
  public:
    using Numbers = std::unordered_map<Item, std::int32_t, ItemHash>;

    OwnPart(std::string& out, const Numbers& numbers) : out_(out), numbers_(numbers) {}

    void Integer(int group, int field, std::int32_t number) {
        if (number == 0) return;
        Tag(group, field);
        AppendCompact(out_, number);
    }
    void String(int group, int field, std::string_view text) {
        if (text.empty()) return;
        Tag(group, field);
        AppendString(out_, text);
    }
    void Marker(int group, int field) { Tag(group, field); }
    void Ref(int group, int field, const Item& item) {
        if (!item.Address) return;
        Tag(group, field);
        AppendCompact(out_, Number(item));
    }
    void Value(int group, int field, const TtsValue& value) {
        if (value.Kind() == value::ValueKind::Empty) return;
        Tag(group, field);
        const Item item = ValueItem(value);
        AppendValue(out_, value, item.Address ? Number(item) : 0);
    }
    void ListBegin(int group, int field, int count) {
        Tag(group, field);
        AppendCompact(out_, count);
    }
    void ListItem(const Item& item) { AppendCompact(out_, item.Address ? Number(item) : 0); }
    void StringListBegin(int group, int field, int count, bool sorted) {
        ListBegin(group, field, count);
        AppendCompact(out_, sorted ? 1 : 0);
    }
    void Entry(std::string_view name, const Item& item) {
        AppendString(out_, name);
        ListItem(item);
    }

  private:
    void Tag(int group, int field) {
        AppendCompact(out_, group);
        AppendCompact(out_, field);
    }
    std::int32_t Number(const Item& item) const { return numbers_.at(item); }

    std::string& out_;
    const Numbers& numbers_;
};

void Scramble(std::string& part) {
    auto previous = static_cast<unsigned char>(part.size() & 0xFF);
    for (char& c : part) {
        const auto plain = static_cast<unsigned char>(c);
        c = static_cast<char>(plain ^ previous);
        previous = plain;
    }
}

} // namespace

std::string WriteTree(const TtsBlock& root, bool scrambled) {
    // Numbering, depth first.
    OwnPart::Numbers numbers;
    std::vector<Item> order{NodeItem(&root)};
    numbers.emplace(order.front(), 1);
    struct Frame {
        std::vector<Item> Refs;
        std::size_t Next;
    };
    const auto referencesOf = [](const Item& item) {
        References references;
        Fields(item, references);
        return Frame{references.Take(), 0};
    };
    std::vector<Frame> stack{referencesOf(order.front())};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.Next == frame.Refs.size()) {
            stack.pop_back();
            continue;
        }
        const Item item = frame.Refs[frame.Next++];
        if (numbers.contains(item)) continue;
        ClassNumber(item);
        order.push_back(item);
        numbers.emplace(item, static_cast<std::int32_t>(order.size()));
        stack.push_back(referencesOf(item));
    }

    std::string out;
    AppendCompact(out, 79);
    AppendCompact(out, 122);
    AppendCompact(out, 114);
    AppendCompact(out, 97);
    AppendCompact(out, 1);
    AppendString(out, scrambled ? std::string_view("\x01", 1) : std::string_view());
    std::string part;
    for (std::size_t i = 0; i < order.size(); ++i) {
        part.clear();
        AppendCompact(part, ClassNumber(order[i]));
        AppendCompact(part, static_cast<std::int32_t>(i + 1));
        OwnPart fields(part, numbers);
        Fields(order[i], fields);
        if (scrambled) Scramble(part);
        AppendCompact(out, static_cast<std::int32_t>(part.size()));
        out += part;
    }
    AppendBackwardCompact(out, static_cast<std::int32_t>(out.size()));
    return out;
}

} // namespace ozra::compiled
