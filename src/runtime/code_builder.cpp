// Preparing a block for execution: each statement that runs becomes a step
// and each of its expressions an `Expr` (see code.h).
//
// Preparation follows the tree and recurses into expressions, so a deep
// expression is checked against the stack budget as it is prepared; one
// that does not fit becomes a step that raises "stack overflow." when the
// statement is reached, so everything before it still runs. Control bodies
// are prepared when they first run, not with the block that holds them.
#include "runtime/code.h"

#include "runtime/evaluator_internal.h"
#include "value/errors.h"
#include "value/operators.h"

#include <utility>

namespace ozra::runtime::code {

using namespace value;
using namespace front;

namespace {

// Below this depth an expression's operators check the stack as they run.
constexpr int ShallowDepth = 64;

class Builder {
  public:
    Builder(CompiledBlock& block, TtsResult& context) : block_(block), context_(context) {}

    Expr& Expression(TtsExpression& node, int depth = 0) {
        detail::CheckStack(context_);
        Expr& expr = block_.Exprs.emplace_back();
        expr.Node = &node;
        expr.Deep = depth > ShallowDepth;
        switch (node.Kind) {
        case NodeKind::Const:
            expr.Form = ExprForm::Constant;
            break;
        case NodeKind::VarRef:
            PlainName(expr, static_cast<TtsVarRef&>(node));
            break;
        case NodeKind::DualOperator: {
            auto& dual = static_cast<TtsDualOperator&>(node);
            expr.Form = ExprForm::Operator;
            expr.Code = dual.OperatorCode;
            expr.Left = &Expression(*dual.Left, depth + 1);
            expr.Right = &Expression(*dual.Right, depth + 1);
            expr.KeepLeft = !ReadsOnly(*expr.Right);
            if (expr.Left->Form != ExprForm::Name && expr.Right->Form != ExprForm::Name) {
                expr.LeftSlot = PlainSlot(*expr.Left);
                expr.RightSlot = PlainSlot(*expr.Right);
                if (!expr.LeftSlot || !expr.RightSlot) expr.LeftSlot = expr.RightSlot = nullptr;
            }
            break;
        }
        case NodeKind::NaryOperator: {
            auto& unary = static_cast<TtsNaryOperator&>(node);
            expr.Form = ExprForm::Not;
            expr.Code = unary.OperatorCode;
            expr.Left = &Expression(*unary.Operand, depth + 1);
            break;
        }
        case NodeKind::FunctionExpr:
            CallSite(expr, static_cast<TtsFunctionExpr&>(node), depth);
            break;
        default:
            TreeWalked(expr);
            break;
        }
        ChooseRun(expr);
        return expr;
    }

    void Statement(TtsStatement& node) {
        Step step;
        step.Node = &node;
        try {
            Fill(step, node);
        } catch (const EtsException&) {
            // Too deep to prepare here; the error is raised where the
            // statement runs, with its position.
            step = Step();
            step.Node = &node;
            step.Form = StepForm::Overflow;
        }
        ChooseRun(step);
        block_.Steps.push_back(std::move(step));
    }

  private:
    static TtsValue* const* PlainSlot(const Expr& expr) {
        if (expr.Form == ExprForm::Constant) return &expr.Node->ValueSlot;
        if (expr.Form == ExprForm::Variable) return expr.LeftSlot;
        return nullptr;
    }

    // Whether running the expression can change no variable: constants,
    // names and operators over them.
    static bool ReadsOnly(const Expr& expr) {
        switch (expr.Form) {
        case ExprForm::Constant:
        case ExprForm::Variable:
        case ExprForm::Name:
            return true;
        case ExprForm::Operator:
            return ReadsOnly(*expr.Left) && ReadsOnly(*expr.Right);
        case ExprForm::Not:
            return ReadsOnly(*expr.Left);
        default:
            return false;
        }
    }

    void PlainName(Expr& expr, TtsVarRef& reference) {
        if (reference.PropRef) {
            TreeWalked(expr);
        } else if (TtsVariable* variable = reference.PlainTarget) {
            expr.Form = ExprForm::Variable;
            expr.LeftSlot = &variable->ValueSlot;
        } else if (reference.TargetCache) {
            // Resolved, but reading it does more than read a slot ("@x", a
            // system variable).
            TreeWalked(expr);
        } else {
            expr.Form = ExprForm::Name;
        }
    }

    void CallSite(Expr& expr, TtsFunctionExpr& call, int depth) {
        TtsVarRef& callee = *call.Callee;
        if (callee.Kind != NodeKind::VarRef || callee.PropRef || !call.PositionalArguments ||
            call.Arguments.Count() > static_cast<int>(TtsFunctionNode::DirectParameterLimit)) {
            TreeWalked(expr);
            return;
        }
        expr.Form = ExprForm::Call;
        if (callee.FunctionCache)
            expr.Function = static_cast<TtsFunctionNode*>(callee.FunctionCache);
        for (const auto& argument : call.Arguments)
            expr.Arguments.push_back(&Expression(*argument, depth + 1));
        // A function that does not take its arguments directly is called
        // through the tree walker, which binds them.
        if (expr.Function && !expr.Function->DirectCall) {
            expr.Arguments.clear();
            TreeWalked(expr);
        }
    }

    void TreeWalked(Expr& expr) {
        expr.Form = ExprForm::Tree;
        CollectScrub(*expr.Node, expr.Scrub);
    }

    // A plain name target resolved to an ordinary variable, or null.
    static TtsVariable* PlainTarget(TtsVarRef& target) {
        return target.Kind == NodeKind::VarRef && !target.PropRef ? target.PlainTarget : nullptr;
    }

    void Fill(Step& step, TtsStatement& node) {
        switch (node.Kind) {
        case NodeKind::Text:
            step.Form = StepForm::Text;
            step.Text = static_cast<TtsText&>(node).Text;
            return;
        case NodeKind::Output:
        case NodeKind::Call:
            step.Form = node.Kind == NodeKind::Output ? StepForm::Output : StepForm::Call;
            step.First = &Expression(*static_cast<TtsCall&>(node).Expression);
            return;
        case NodeKind::Assign:
        case NodeKind::VarDefine:
            Assignment(step, static_cast<TtsAssign&>(node));
            return;
        case NodeKind::IfNode:
            IfChain(step, static_cast<TtsIfNode&>(node));
            return;
        case NodeKind::LoopNode: {
            auto& loop = static_cast<TtsLoopNode&>(node);
            step.Form = StepForm::Loop;
            step.Body = loop.Body.Get();
            if (loop.WhileCondition) step.First = &Expression(*loop.WhileCondition);
            if (loop.UntilCondition) step.Second = &Expression(*loop.UntilCondition);
            return;
        }
        case NodeKind::ForNode: {
            auto& loop = static_cast<TtsForNode&>(node);
            step.Form = StepForm::For;
            step.Body = loop.Body.Get();
            step.Variable = loop.Variable;
            step.First = &Expression(*loop.StartValue);
            step.Second = &Expression(*loop.EndValue);
            if (loop.StepValue) step.Third = &Expression(*loop.StepValue);
            return;
        }
        case NodeKind::ForeachNode: {
            auto& loop = static_cast<TtsForeachNode&>(node);
            step.Form = StepForm::Foreach;
            step.Body = loop.Body.Get();
            step.Variable = loop.Variable;
            step.First = &Expression(*loop.Collection);
            if (loop.Filter) CollectScrub(*loop.Filter, step.Scrub);
            return;
        }
        case NodeKind::Exit:
        case NodeKind::Skip:
            step.Form = StepForm::Exit;
            return;
        case NodeKind::Block:
        case NodeKind::Host:
            step.Form = StepForm::Block;
            step.Body = &static_cast<TtsBlock&>(node);
            return;
        case NodeKind::Using:
            step.Form = StepForm::Using;
            step.Body = static_cast<TtsUsing&>(node).UsedBlock.Get();
            return;
        case NodeKind::CaseNode:
            CollectCaseScrub(static_cast<TtsCaseNode&>(node), step.Scrub);
            step.Form = StepForm::Tree;
            return;
        case NodeKind::AssignNode:
            CollectScrub(*static_cast<TtsAssignNode&>(node).Target, step.Scrub);
            step.Form = StepForm::Tree;
            return;
        default:
            step.Form = StepForm::Tree;
            return;
        }
    }

    void Assignment(Step& step, TtsAssign& node) {
        step.Code = node.AssignOperator;
        if (node.Value) step.First = &Expression(*node.Value);
        CollectScrub(*node.Target, step.Scrub);
        // Until the target resolves, a compound assignment runs through the
        // tree walker, operand included.
        if (node.Value && node.AssignOperator != 0) CollectScrub(*node.Value, step.Scrub);
        TtsVariable* variable = PlainTarget(*node.Target);
        if (!variable) {
            step.Form = StepForm::AssignName;
            return;
        }
        step.Form = StepForm::Assign;
        step.Variable = variable;
        step.Scrub.clear();
    }

    void IfChain(Step& step, TtsIfNode& first) {
        step.Form = StepForm::If;
        TtsStatement* link = &first;
        while (link && link->Kind == NodeKind::IfNode) {
            auto& branch = static_cast<TtsIfNode&>(*link);
            step.Branches.push_back({&Expression(*branch.Condition), branch.Body.Get(), &branch});
            link = branch.ElseBranch.Get();
        }
        if (!link) return;
        if (link->Kind == NodeKind::Block) {
            step.Body = static_cast<TtsBlock*>(link);
            return;
        }
        // A case link in an if chain: the chain runs through the tree walker.
        step.Branches.clear();
        step.Form = StepForm::Tree;
        CollectIfScrub(first, step.Scrub);
    }

    void CollectIfScrub(TtsLogicNode& first, std::vector<TtsExpression*>& out) {
        for (TtsStatement* link = &first; link && IsKindOf(link->Kind, NodeKind::LogicNode);
             link = static_cast<TtsLogicNode*>(link)->ElseBranch.Get()) {
            if (link->Kind == NodeKind::IfNode) {
                CollectScrub(*static_cast<TtsIfNode*>(link)->Condition, out);
            } else {
                CollectScrub(*static_cast<TtsCaseNode*>(link)->Selector, out);
            }
        }
    }

    void CollectCaseScrub(TtsCaseNode& first, std::vector<TtsExpression*>& out) {
        CollectIfScrub(first, out);
    }

    CompiledBlock& block_;
    TtsResult& context_;
};

// Whether the tree walker leaves a computed value in a node of this kind.
bool KeepsComputedValue(NodeKind kind) {
    switch (kind) {
    case NodeKind::VarRef:
    case NodeKind::PropRef:
    case NodeKind::IndexExpr:
    case NodeKind::NaryOperator:
    case NodeKind::DualOperator:
    case NodeKind::FunctionExpr:
        return true;
    default:
        return false;
    }
}

} // namespace

void CollectScrub(TtsExpression& expression, std::vector<TtsExpression*>& out) {
    // Iterative, so that a deep expression cannot exhaust the stack here.
    std::vector<TtsExpression*> pending{&expression};
    while (!pending.empty()) {
        TtsExpression* node = pending.back();
        pending.pop_back();
        if (!node || !KeepsComputedValue(node->Kind)) continue;
        out.push_back(node);
        switch (node->Kind) {
        case NodeKind::VarRef:
        case NodeKind::PropRef: {
            auto& reference = static_cast<TtsVarRef&>(*node);
            pending.push_back(reference.PropRef.Get());
            pending.push_back(reference.ObjectExpression.Get());
            break;
        }
        case NodeKind::IndexExpr: {
            auto& index = static_cast<TtsIndexExpr&>(*node);
            pending.push_back(index.PropRef.Get());
            pending.push_back(index.Target.Get());
            pending.push_back(index.Index.Get());
            break;
        }
        case NodeKind::NaryOperator:
            pending.push_back(static_cast<TtsNaryOperator&>(*node).Operand.Get());
            break;
        case NodeKind::DualOperator: {
            auto& dual = static_cast<TtsDualOperator&>(*node);
            pending.push_back(dual.Left.Get());
            pending.push_back(dual.Right.Get());
            break;
        }
        case NodeKind::FunctionExpr: {
            auto& call = static_cast<TtsFunctionExpr&>(*node);
            pending.push_back(call.Callee.Get());
            for (const auto& argument : call.Arguments)
                pending.push_back(argument.Get());
            break;
        }
        default:
            break;
        }
    }
}

void ScrubNodes(const std::vector<TtsExpression*>& nodes) noexcept {
    for (TtsExpression* node : nodes) {
        if (TtsValueHelper::OwnsPayload(node->OwnValue)) node->OwnValue.Clear();
    }
}

Expr& PrepareExpression(CompiledBlock& block, TtsExpression& expression, TtsResult& context) {
    return Builder(block, context).Expression(expression);
}

std::unique_ptr<CompiledBlock> Prepare(TtsBlock& block, TtsResult& context) {
    auto code = std::make_unique<CompiledBlock>(block);
    Builder builder(*code, context);
    for (const auto& child : block.Statements) {
        switch (child->Kind) {
        case NodeKind::FunctionNode:
        case NodeKind::ClassNode:
        case NodeKind::OldUsing:
        case NodeKind::RefDefine:
        case NodeKind::OldFile:
        case NodeKind::ControlEnd:
        case NodeKind::FunctionEnd:
            continue; // definitions and markers never run where they stand
        default:
            builder.Statement(*child);
        }
    }
    return code;
}

} // namespace ozra::runtime::code
