// Expression evaluation: the dispatch on node kinds, operators, calls,
// indexing and the writes of variables.
#include "runtime/evaluator.h"

#include "runtime/evaluator_internal.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/operators.h"

#include <cstdint>

namespace ozra::runtime {

using namespace value;

using namespace front;

namespace {

ItsHost& HostOf(TtsResult& context) {
    if (!context.Host) throw EtsRuntime("no host for a library operation.");
    return *context.Host;
}

void EvaluateDual(TtsDualOperator& node, TtsResult& context) {
    detail::CheckStack(context);
    const char code = node.OperatorCode;
    const TtsValue& leftNow = detail::Read(*node.Left, context);
    if (code == OperatorCode::And && !ToBoolean(leftNow)) {
        *node.ValueSlot = TtsValue::FromBoolean(false);
        return;
    }
    if (code == OperatorCode::Or && ToBoolean(leftNow)) {
        *node.ValueSlot = TtsValue::FromBoolean(true);
        return;
    }
    // A right operand that calls a function may evaluate the left node
    // again (recursion) or write the variable the left one read, so then
    // the left value is kept apart.
    TtsExpression& rightNode = *node.Right;
    if (rightNode.Kind == NodeKind::Const ||
        (rightNode.Kind == NodeKind::VarRef && !static_cast<TtsVarRef&>(rightNode).PropRef)) {
        const TtsValue& right = detail::Read(rightNode, context);
        // Both operands are resolved now; later evaluations read them
        // through their slots when both are plain.
        if (TtsValue* const* leftSlot = detail::PlainOperandSlot(*node.Left)) {
            if (TtsValue* const* rightSlot = detail::PlainOperandSlot(rightNode)) {
                node.LeftSlot = leftSlot;
                node.RightSlot = rightSlot;
            }
        }
        if (TtsOperatorHelper::IntegerBinary(code, leftNow, right, *node.ValueSlot)) return;
        if (code != OperatorCode::In || !detail::AsSet(right)) {
            *node.ValueSlot =
                TtsOperatorHelper::Binary(code, leftNow, right, CaseSensitive(context));
            return;
        }
    }
    const TtsValue left = leftNow;
    const TtsValue& right = Evaluate(rightNode, context);
    if (code == OperatorCode::In) {
        if (TtsSet* set = detail::AsSet(right)) {
            *node.ValueSlot = detail::Membership(left, *set);
            return;
        }
    }
    if (TtsOperatorHelper::IntegerBinary(code, left, right, *node.ValueSlot)) return;
    *node.ValueSlot = TtsOperatorHelper::Binary(code, left, right, CaseSensitive(context));
}

// A call not decided in `Evaluate` (which takes a plain name already
// resolved to a function).
void EvaluateCall(TtsFunctionExpr& node, TtsResult& context) {
    TtsValue out;
    Call(*node.Callee, context, &node.Arguments, out);
    *node.ValueSlot = std::move(out);
}

void EvaluateIndex(TtsIndexExpr& node, TtsResult& context) {
    Evaluate(*node.Target, context);
    const TtsValue index = Evaluate(*node.Index, context);
    TtsValue out;
    GetItem(*node.Target, index, context, out);
    *node.ValueSlot = std::move(out);
}

void AssignIndex(TtsIndexExpr& node, TtsResult& context, const TtsValue& value) {
    Evaluate(*node.Target, context);
    const TtsValue index = Evaluate(*node.Index, context);
    SetItem(*node.Target, index, context, value);
}

// «n - 1», «i < count»: an integer operator over constants and plain
// variables, decided without the general operator path. False leaves the
// node to it (nothing was read that the general path would not read again).
[[gnu::always_inline]] inline bool DualOfPlainIntegers(TtsDualOperator& node) noexcept {
    if (!node.LeftSlot) return false;
    return TtsOperatorHelper::IntegerBinary(node.OperatorCode, **node.LeftSlot, **node.RightSlot,
                                            *node.ValueSlot);
}

// Every kind of expression; kept out of line so the hot cases in `Evaluate`
// stay a short function.
[[gnu::noinline]] const TtsValue& EvaluateGeneral(TtsExpression& expression, TtsResult& context) {
    detail::CheckStack(context);
    switch (expression.Kind) {
    case NodeKind::SysTick:
    case NodeKind::SysNow:
        UpdateSystemVariable(static_cast<TtsVariable&>(expression));
        break;
    case NodeKind::VarRef:
    case NodeKind::PropRef:
        detail::EvaluateReference(static_cast<TtsVarRef&>(expression), context);
        break;
    case NodeKind::IndexExpr: {
        auto& node = static_cast<TtsIndexExpr&>(expression);
        if (node.PropRef) {
            detail::EvaluateReference(node, context);
        } else {
            EvaluateIndex(node, context);
        }
        break;
    }
    case NodeKind::Set:
        for (const auto& element : static_cast<TtsSet&>(expression).Elements)
            Evaluate(*element, context);
        break;
    case NodeKind::NaryOperator: {
        auto& node = static_cast<TtsNaryOperator&>(expression);
        *node.ValueSlot =
            TtsOperatorHelper::Unary(node.OperatorCode, Evaluate(*node.Operand, context));
        break;
    }
    case NodeKind::DualOperator:
        EvaluateDual(static_cast<TtsDualOperator&>(expression), context);
        break;
    case NodeKind::FunctionExpr:
        EvaluateCall(static_cast<TtsFunctionExpr&>(expression), context);
        break;
    case NodeKind::FilterExpr:
        detail::EvaluateFilter(static_cast<TtsFilterExpr&>(expression), context);
        break;
    case NodeKind::RangeExpr: {
        auto& node = static_cast<TtsRangeExpr&>(expression);
        Evaluate(*node.RangeStart, context);
        Evaluate(*node.RangeEnd, context);
        break;
    }
    case NodeKind::SubSetExpr:
        detail::EvaluateSubSet(static_cast<TtsSubSetExpr&>(expression), context);
        break;
    default:
        break;
    }
    return expression.Value();
}

} // namespace

const TtsValue& Evaluate(TtsExpression& expression, TtsResult& context) {
    switch (expression.Kind) {
    case NodeKind::VarRef: {
        // A plain name already resolved to an ordinary variable.
        auto& reference = static_cast<TtsVarRef&>(expression);
        if (const TtsVariable* variable = reference.PlainTarget) {
            *reference.ValueSlot = *variable->ValueSlot;
            return *reference.ValueSlot;
        }
        break;
    }
    case NodeKind::DualOperator: {
        auto& node = static_cast<TtsDualOperator&>(expression);
        if (!DualOfPlainIntegers(node)) EvaluateDual(node, context);
        return *node.ValueSlot;
    }
    case NodeKind::FunctionExpr: {
        // A plain name already resolved to a function: its result is
        // written straight into this node when the call ends.
        auto& node = static_cast<TtsFunctionExpr&>(expression);
        if (TtsFunctionNode* function = node.DirectFunction) {
            detail::CallDirect(*function, context, &node.Arguments, *node.ValueSlot);
            return *node.ValueSlot;
        }
        TtsVarRef& callee = *node.Callee;
        if (callee.Kind == NodeKind::VarRef && !callee.PropRef && callee.FunctionCache) {
            auto& function = static_cast<TtsFunctionNode&>(*callee.FunctionCache);
            if (function.DirectCall && node.PositionalArguments) {
                node.DirectFunction = &function;
                detail::CallDirect(function, context, &node.Arguments, *node.ValueSlot);
            } else {
                CallFunction(function, context, &node.Arguments, *node.ValueSlot);
            }
            return *node.ValueSlot;
        }
        break;
    }
    default:
        break;
    }
    return EvaluateGeneral(expression, context);
}

void EvaluateInto(TtsExpression& expression, TtsResult& context, TtsValue& out) {
    out = Evaluate(expression, context);
}

void Assign(TtsVarRef& reference, TtsResult& context, const TtsValue& value) {
    if (reference.PropRef) {
        Assign(*reference.PropRef, context, value);
        return;
    }
    switch (reference.Kind) {
    case NodeKind::IndexExpr:
        AssignIndex(static_cast<TtsIndexExpr&>(reference), context, value);
        return;
    case NodeKind::PropRef:
    case NodeKind::VarRef:
        break;
    default:
        throw EtsRuntime::NotFoundOrInvalid(reference.RefName);
    }
    detail::AssignReference(reference, context, value);
}

bool CaseSensitive(const TtsResult& context) {
    return context.Host ? context.Host->CaseSensitive() : true;
}

void GetItem(TtsExpression& expression, const TtsValue& index, TtsResult& context, TtsValue& out) {
    const TtsValue& value = expression.Value();
    if (TtsObject* object = value.Object()) {
        if (TtsSet* set = detail::AsSet(value)) {
            TtsExpression* element = detail::SetElement(*set, index);
            out = element ? element->Value() : TtsValue();
            return;
        }
        HostOf(context).GetObjectItem(*object, index, out, context);
        return;
    }
    const TtsValue receiver = value;
    HostOf(context).GetValueItem(receiver, out, context, index);
}

void SetItem(TtsExpression& expression, const TtsValue& index, TtsResult& context,
             const TtsValue& value) {
    const TtsValue& current = expression.Value();
    if (TtsObject* object = current.Object()) {
        if (TtsSet* set = detail::AsSet(current)) {
            if (TtsExpression* element = detail::SetElement(*set, index))
                detail::WriteExpression(*element, value);
            return;
        }
        HostOf(context).SetObjectItem(*object, index, value, context);
        return;
    }
    HostOf(context).SetValueItem(expression, index, value, context);
}

namespace detail {

void WriteExpression(TtsExpression& expression, const TtsValue& value) {
    if (IsKindOf(expression.Kind, NodeKind::Variable)) {
        WriteVariable(static_cast<TtsVariable&>(expression), value);
    } else if (&value != expression.ValueSlot) {
        expression.SetValue(value);
    }
}

TtsValue AddressOf(const void* object) noexcept {
    return TtsValue::FromInteger(
        static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(object)));
}

} // namespace detail

} // namespace ozra::runtime
