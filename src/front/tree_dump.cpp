// Writes the text picture of a syntax tree described in tree_dump.h. The
// tree is walked with a stack of its own, so the walk's depth is not that of
// the machine stack.
#include "front/tree_dump.h"

#include "front/syntax_tree.h"
#include "value/conversions.h"
#include "value/errors.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

namespace ozra::front {

namespace {

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        default:
            if (c < 0x20 || c == 0x7f) {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\x%02x", c);
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string CodeText(char code) {
    if (code == 0) return "0";
    return std::string("'") + code + "'";
}

std::string ValueText(const value::TtsValue& value) {
    using value::ValueKind;
    switch (value.Kind()) {
    case ValueKind::Empty:
        return "nil";
    case ValueKind::Boolean:
        return value.Boolean() ? "true" : "false";
    case ValueKind::Text:
    case ValueKind::WideText:
        return Quoted(value.Text());
    case ValueKind::Double: {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.Real()).ptr;
        return std::string(buffer, end);
    }
    default:
        if (value.IsInteger()) return std::to_string(value.Integer());
        return std::string(value::KindName(value.Kind()));
    }
}

class Dumper {
  public:
    std::string Dump(const TtsNode& root) {
        Node(&root, "", 0);
        while (!pending_.empty()) {
            const Pending next = pending_.back();
            pending_.pop_back();
            if (next.Depth > MaxDumpDepth) {
                throw value::EtsException("syntax tree nested more than " +
                                          std::to_string(MaxDumpDepth) + " levels deep.");
            }
            Line(next);
            // Children are listed in order; they are taken from the end.
            const std::size_t first = pending_.size();
            Children(*next.Node, next.Depth + 1);
            std::reverse(pending_.begin() + static_cast<std::ptrdiff_t>(first), pending_.end());
        }
        return std::move(out_);
    }

  private:
    struct Pending {
        const TtsNode* Node;
        std::string_view Role;
        int Depth;
    };

    void Node(const TtsNode* node, std::string_view role, int depth) {
        if (node) pending_.push_back({node, role, depth});
    }

    void Line(const Pending& line) {
        out_.append(static_cast<std::size_t>(line.Depth) * 2, ' ');
        if (!line.Role.empty()) out_.append(line.Role).append(": ");
        out_.append(line.Node->ClassName());
        Fields(*line.Node);
        out_ += '\n';
    }

    void Field(std::string_view text) { out_.append(" ").append(text); }

    void Fields(const TtsNode& node) {
        if (IsKindOf(node.Kind, NodeKind::Expression)) {
            ExpressionFields(node);
        } else {
            StatementFields(static_cast<const TtsStatement&>(node));
        }
    }

    void ExpressionFields(const TtsNode& node) {
        if (auto* variable = NodeCast<TtsVariable>(&node)) {
            Field(variable->Name);
            Field("mode=" + std::to_string(variable->Tag));
            return;
        }
        if (!node.Name.empty()) Field("arg=" + node.Name);
        if (auto* constant = NodeCast<TtsConst>(&node)) Field(ValueText(constant->Value()));
        if (node.Kind == NodeKind::VarRef || node.Kind == NodeKind::PropRef)
            Field(static_cast<const TtsVarRef&>(node).RefName);
        if (auto* unary = NodeCast<TtsNaryOperator>(&node))
            Field("op=" + CodeText(unary->OperatorCode));
        if (auto* binary = NodeCast<TtsDualOperator>(&node))
            Field("op=" + CodeText(binary->OperatorCode));
        if (auto* filter = NodeCast<TtsFilterExpr>(&node)) Field("item=" + filter->ItemName);
    }

    void StatementFields(const TtsStatement& node) {
        if (auto* text = NodeCast<TtsText>(&node)) Field(Quoted(text->Text));
        if (IsKindOf(node.Kind, NodeKind::Control) || IsKindOf(node.Kind, NodeKind::Exit)) {
            if (!node.Name.empty()) Field("kw=" + node.Name);
        }
        if (auto* function = NodeCast<TtsFunctionNode>(&node)) Field(function->FunctionName);
        if (auto* forNode = NodeCast<TtsForNode>(&node); forNode && forNode->Variable)
            Field("var=" + forNode->Variable->Name);
        if (auto* foreach = NodeCast<TtsForeachNode>(&node); foreach && foreach->Variable)
            Field("var=" + foreach->Variable->Name);
        if (auto* caseNode = NodeCast<TtsCaseNode>(&node))
            Field("op=" + CodeText(caseNode->CaseOperator));
        if (auto* file = NodeCast<TtsFileNode>(&node))
            Field(file->Overwrite ? "overwrite=true" : "overwrite=false");
        if (auto* copy = NodeCast<TtsOldCopy>(&node)) Field("source=" + Quoted(copy->SourcePath));
        if (auto* execute = NodeCast<TtsOldExecute>(&node))
            Field("program=" + Quoted(execute->ProgramPath));
        if (auto* assign = NodeCast<TtsAssign>(&node))
            Field("op=" + CodeText(assign->AssignOperator));
        if (auto* output = NodeCast<TtsOutput>(&node); output && output->NewLine) Field("newline");
        if (auto* used = NodeCast<TtsUsing>(&node)) Field(used->UsedBlock ? "used" : "unused");
        if (auto* block = NodeCast<TtsBlock>(&node)) Names(*block);
        if (node.Position || node.Length)
            Field("@" + std::to_string(node.Position) + "+" + std::to_string(node.Length));
        if (auto* control = NodeCast<TtsControl>(&node);
            control && (control->EndPosition || control->EndLength))
            Field("end@" + std::to_string(control->EndPosition) + "+" +
                  std::to_string(control->EndLength));
    }

    void Names(const TtsBlock& block) {
        std::string list = "names=[";
        for (int i = 0; i < block.Names.Count(); ++i) {
            if (i) list += ", ";
            list.append(block.Names.Name(i)).append(":").append(block.Names.Item(i)->ClassName());
        }
        Field(list + "]");
    }

    void List(const TtsExpressions& list, std::string_view role, int depth) {
        for (const auto& item : list)
            Node(item.Get(), role, depth);
    }

    void Children(const TtsNode& node, int depth) {
        switch (node.Kind) {
        case NodeKind::VarRef:
            Node(static_cast<const TtsVarRef&>(node).PropRef.Get(), "Member", depth);
            break;
        case NodeKind::PropRef:
            Node(static_cast<const TtsPropRef&>(node).ObjectExpression.Get(), "Object", depth);
            break;
        case NodeKind::IndexExpr: {
            auto& index = static_cast<const TtsIndexExpr&>(node);
            Node(index.Target.Get(), "Target", depth);
            Node(index.Index.Get(), "Index", depth);
            break;
        }
        case NodeKind::Set:
            List(static_cast<const TtsSet&>(node).Elements, "Element", depth);
            break;
        case NodeKind::NaryOperator:
            Node(static_cast<const TtsNaryOperator&>(node).Operand.Get(), "Operand", depth);
            break;
        case NodeKind::DualOperator: {
            auto& binary = static_cast<const TtsDualOperator&>(node);
            Node(binary.Left.Get(), "Left", depth);
            Node(binary.Right.Get(), "Right", depth);
            break;
        }
        case NodeKind::FunctionExpr: {
            auto& call = static_cast<const TtsFunctionExpr&>(node);
            Node(call.Callee.Get(), "Callee", depth);
            List(call.Arguments, "Arg", depth);
            break;
        }
        case NodeKind::FilterExpr: {
            auto& filter = static_cast<const TtsFilterExpr&>(node);
            Node(filter.Source.Get(), "Source", depth);
            Node(filter.Condition.Get(), "Condition", depth);
            break;
        }
        case NodeKind::RangeExpr: {
            auto& range = static_cast<const TtsRangeExpr&>(node);
            Node(range.RangeStart.Get(), "Start", depth);
            Node(range.RangeEnd.Get(), "End", depth);
            break;
        }
        case NodeKind::SubSetExpr: {
            auto& subset = static_cast<const TtsSubSetExpr&>(node);
            Node(subset.Source.Get(), "Source", depth);
            List(subset.Ranges, "Range", depth);
            break;
        }
        default:
            StatementChildren(node, depth);
        }
    }

    void StatementChildren(const TtsNode& node, int depth) {
        if (auto* block = NodeCast<TtsBlock>(&node)) {
            for (const auto& statement : block->Statements)
                Node(statement.Get(), "", depth);
            return;
        }
        if (auto* assign = NodeCast<TtsAssign>(&node)) {
            Node(assign->Target.Get(), "Target", depth);
            Node(assign->Value.Get(), "Value", depth);
            return;
        }
        if (auto* call = NodeCast<TtsCall>(&node)) {
            Node(call->Expression.Get(), "Expression", depth);
            return;
        }
        auto* control = NodeCast<TtsControl>(&node);
        if (!control) return;
        ControlHead(*control, depth);
        Node(control->Body.Get(), "Body", depth);
        if (auto* logic = NodeCast<TtsLogicNode>(control))
            Node(logic->ElseBranch.Get(), "Else", depth);
        if (auto* tryNode = NodeCast<TtsTryNode>(control)) {
            Node(tryNode->ExceptBlock.Get(), "Except", depth);
            Node(tryNode->FinallyBlock.Get(), "Finally", depth);
        }
    }

    // The expressions of a control's head, before its body.
    void ControlHead(const TtsControl& control, int depth) {
        if (auto* ifNode = NodeCast<TtsIfNode>(&control))
            Node(ifNode->Condition.Get(), "Condition", depth);
        if (auto* caseNode = NodeCast<TtsCaseNode>(&control)) {
            Node(caseNode->Selector.Get(), "Selector", depth);
            Node(caseNode->CaseValues.Get(), "Values", depth);
        }
        if (auto* loop = NodeCast<TtsLoopNode>(&control)) {
            Node(loop->UntilCondition.Get(), "Until", depth);
            Node(loop->WhileCondition.Get(), "While", depth);
        }
        if (auto* forNode = NodeCast<TtsForNode>(&control)) {
            Node(forNode->StartValue.Get(), "Start", depth);
            Node(forNode->EndValue.Get(), "End", depth);
            Node(forNode->StepValue.Get(), "Step", depth);
        }
        if (auto* foreach = NodeCast<TtsForeachNode>(&control)) {
            Node(foreach->Collection.Get(), "Collection", depth);
            Node(foreach->Filter.Get(), "Filter", depth);
        }
        if (auto* function = NodeCast<TtsFunctionNode>(&control);
            function && function->Parameters) {
            for (int i = 0; i < function->Parameters->Count(); ++i)
                Node(NodeCast<TtsNode>(function->Parameters->Item(i)), "Param", depth);
        }
        if (auto* classNode = NodeCast<TtsClassNode>(&control))
            Node(classNode->BaseReference.Get(), "Base", depth);
        if (auto* assignNode = NodeCast<TtsAssignNode>(&control))
            Node(assignNode->Target.Get(), "Target", depth);
    }

    std::vector<Pending> pending_;
    std::string out_;
};

} // namespace

std::string DumpTree(const TtsNode& node) {
    return Dumper().Dump(node);
}

} // namespace ozra::front
