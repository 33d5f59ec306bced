// Running prepared expressions (see code.h): constants and variables read
// where they live, operators over plain operands straight from their slots,
// calls of resolved functions straight into their frames, and the rest
// through the tree walker.
#include "runtime/code.h"

#include "runtime/evaluator_internal.h"
#include "value/conversions.h"
#include "value/operators.h"

namespace ozra::runtime::code {

using namespace value;
using namespace front;

namespace {

const TtsValue& RunConstant(Expr& expr, TtsResult&, TtsValue&) {
    return *expr.Node->ValueSlot;
}

const TtsValue& RunVariable(Expr& expr, TtsResult&, TtsValue&) {
    return **expr.LeftSlot;
}

// Lets go of the values the tree walker left in nodes, also when the
// evaluation failed.
class Scrubbed {
  public:
    explicit Scrubbed(const std::vector<TtsExpression*>& nodes) noexcept : nodes_(nodes) {}
    Scrubbed(const Scrubbed&) = delete;
    Scrubbed& operator=(const Scrubbed&) = delete;
    ~Scrubbed() { ScrubNodes(nodes_); }

  private:
    const std::vector<TtsExpression*>& nodes_;
};

bool KeepsOwnValue(const TtsExpression& node) {
    switch (node.Kind) {
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

const TtsValue& RunTree(Expr& expr, TtsResult& context, TtsValue& scratch) {
    Scrubbed scrubbed(expr.Scrub);
    const TtsValue& value = Evaluate(*expr.Node, context);
    if (!KeepsOwnValue(*expr.Node)) return value;
    scratch = std::move(*expr.Node->ValueSlot);
    return scratch;
}

void BecomeTreeWalked(Expr& expr) {
    expr.Form = ExprForm::Tree;
    expr.Arguments.clear();
    expr.Scrub.clear();
    CollectScrub(*expr.Node, expr.Scrub);
    ChooseRun(expr);
}

// The first evaluation resolves the name; a plain variable is then read from
// its slot.
const TtsValue& RunName(Expr& expr, TtsResult& context, TtsValue& scratch) {
    auto& reference = static_cast<TtsVarRef&>(*expr.Node);
    Evaluate(reference, context);
    scratch = std::move(*reference.ValueSlot);
    if (TtsVariable* variable = reference.PlainTarget) {
        expr.Form = ExprForm::Variable;
        expr.LeftSlot = &variable->ValueSlot;
        ChooseRun(expr);
    } else {
        BecomeTreeWalked(expr);
    }
    return scratch;
}

bool IsPlain(const Expr& expr) {
    return expr.Form == ExprForm::Constant || expr.Form == ExprForm::Variable;
}

TtsValue* const* PlainSlot(const Expr& expr) {
    return expr.Form == ExprForm::Constant ? &expr.Node->ValueSlot : expr.LeftSlot;
}

// Every operator: short circuits, membership in a set, and the operator
// table, with the integer cases decided inline.
template <char Code>
const TtsValue& RunOperator(Expr& expr, TtsResult& context, TtsValue& scratch) {
    const char code = Code ? Code : expr.Code;
    if (expr.Deep) detail::CheckStack(context);
    TtsValue leftScratch;
    const TtsValue* left = &Eval(*expr.Left, context, leftScratch);
    if (code == OperatorCode::And && !ToBoolean(*left)) {
        scratch = TtsValue::FromBoolean(false);
        return scratch;
    }
    if (code == OperatorCode::Or && ToBoolean(*left)) {
        scratch = TtsValue::FromBoolean(true);
        return scratch;
    }
    if (expr.KeepLeft && left != &leftScratch) {
        leftScratch = *left;
        left = &leftScratch;
    }
    TtsValue rightScratch;
    const TtsValue& right = Eval(*expr.Right, context, rightScratch);
    if (TtsOperatorHelper::IntegerBinary(code, *left, right, scratch)) {
    } else if (TtsSet* set = code == OperatorCode::In ? detail::AsSet(right) : nullptr) {
        scratch = detail::Membership(*left, *set);
    } else {
        scratch = TtsOperatorHelper::Binary(code, *left, right, CaseSensitive(context));
    }
    // Operands that were names resolve on first use; both plain now, the
    // operator reads their slots from here on.
    if (!expr.LeftSlot && IsPlain(*expr.Left) && IsPlain(*expr.Right)) [[unlikely]] {
        expr.LeftSlot = PlainSlot(*expr.Left);
        expr.RightSlot = PlainSlot(*expr.Right);
        ChooseRun(expr);
    }
    return scratch;
}

// Both operands plain: integers are decided from the slots, anything else
// takes the general path, which reads them again (without effect).
template <char Code>
const TtsValue& RunOperatorOnSlots(Expr& expr, TtsResult& context, TtsValue& scratch) {
    if (TtsOperatorHelper::IntegerBinary(Code ? Code : expr.Code, **expr.LeftSlot, **expr.RightSlot,
                                         scratch))
        return scratch;
    return RunOperator<Code>(expr, context, scratch);
}

template <template <char> class Pick> auto ForCode(char code) {
    switch (code) {
    case OperatorCode::Add:
        return Pick<OperatorCode::Add>::Run;
    case OperatorCode::Subtract:
        return Pick<OperatorCode::Subtract>::Run;
    case OperatorCode::Multiply:
        return Pick<OperatorCode::Multiply>::Run;
    case OperatorCode::Equal:
        return Pick<OperatorCode::Equal>::Run;
    case OperatorCode::NotEqual:
        return Pick<OperatorCode::NotEqual>::Run;
    case OperatorCode::Less:
        return Pick<OperatorCode::Less>::Run;
    case OperatorCode::LessOrEqual:
        return Pick<OperatorCode::LessOrEqual>::Run;
    case OperatorCode::Greater:
        return Pick<OperatorCode::Greater>::Run;
    case OperatorCode::GreaterOrEqual:
        return Pick<OperatorCode::GreaterOrEqual>::Run;
    default:
        return Pick<0>::Run;
    }
}

bool IsTrue(const TtsValue& value) {
    return value.Kind() == ValueKind::Boolean ? value.Boolean() : ToBoolean(value);
}

bool TestValue(Expr& expr, TtsResult& context) {
    TtsValue scratch;
    return IsTrue(expr.Run(expr, context, scratch));
}

// A comparison of two plain integers is answered from the slots.
template <char Code> bool TestOnSlots(Expr& expr, TtsResult& context) {
    const TtsValue& left = **expr.LeftSlot;
    const TtsValue& right = **expr.RightSlot;
    const auto wide = [](ValueKind kind) {
        return kind == ValueKind::Int32 || kind == ValueKind::Int64;
    };
    if (wide(left.Kind()) && wide(right.Kind())) [[likely]] {
        const std::int64_t a = left.WideInteger();
        const std::int64_t b = right.WideInteger();
        switch (Code) {
        case OperatorCode::Equal:
            return a == b;
        case OperatorCode::NotEqual:
            return a != b;
        case OperatorCode::Less:
            return a < b;
        case OperatorCode::LessOrEqual:
            return a <= b;
        case OperatorCode::Greater:
            return a > b;
        default:
            return a >= b;
        }
    }
    return TestValue(expr, context);
}

bool IsComparison(char code) {
    switch (code) {
    case OperatorCode::Equal:
    case OperatorCode::NotEqual:
    case OperatorCode::Less:
    case OperatorCode::LessOrEqual:
    case OperatorCode::Greater:
    case OperatorCode::GreaterOrEqual:
        return true;
    default:
        return false;
    }
}

template <char Code> struct TestOnSlotsRun { static constexpr ExprTest Run = &TestOnSlots<Code>; };

template <char Code> struct OperatorRun { static constexpr ExprRun Run = &RunOperator<Code>; };
template <char Code> struct OperatorOnSlotsRun {
    static constexpr ExprRun Run = &RunOperatorOnSlots<Code>;
};

const TtsValue& RunNot(Expr& expr, TtsResult& context, TtsValue& scratch) {
    if (expr.Deep) detail::CheckStack(context);
    TtsValue operandScratch;
    const TtsValue& operand = Eval(*expr.Left, context, operandScratch);
    scratch = TtsOperatorHelper::Unary(expr.Code, operand);
    return scratch;
}

// The first call resolves the function; one that does not bind directly (a
// class, "ref" or default parameters) is called through the tree walker.
const TtsValue& RunCallByName(Expr& expr, TtsResult& context, TtsValue& scratch) {
    TtsVarRef& callee = *static_cast<TtsFunctionExpr&>(*expr.Node).Callee;
    if (!callee.FunctionCache)
        callee.FunctionCache = callee.FindNode(callee.RefName, NodeKind::FunctionNode);
    auto& function = static_cast<TtsFunctionNode&>(*callee.FunctionCache);
    if (function.DirectCall) {
        expr.Function = &function;
        ChooseRun(expr);
    } else {
        BecomeTreeWalked(expr);
    }
    return expr.Run(expr, context, scratch);
}

} // namespace

void ChooseRun(Expr& expr) {
    expr.Test = TestValue;
    if (expr.Form == ExprForm::Operator && expr.LeftSlot && IsComparison(expr.Code))
        expr.Test = ForCode<TestOnSlotsRun>(expr.Code);
    switch (expr.Form) {
    case ExprForm::Constant:
        expr.Run = RunConstant;
        return;
    case ExprForm::Variable:
        expr.Run = RunVariable;
        return;
    case ExprForm::Name:
        expr.Run = RunName;
        return;
    case ExprForm::Operator:
        expr.Run = expr.LeftSlot ? ForCode<OperatorOnSlotsRun>(expr.Code)
                                 : ForCode<OperatorRun>(expr.Code);
        return;
    case ExprForm::Not:
        expr.Run = RunNot;
        return;
    case ExprForm::Call:
        expr.Run = expr.Function ? detail::CallPrepared : RunCallByName;
        return;
    case ExprForm::Tree:
        expr.Run = RunTree;
        return;
    }
}

} // namespace ozra::runtime::code
