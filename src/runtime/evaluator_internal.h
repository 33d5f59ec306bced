// Helpers shared by the evaluator's source files; not for other callers.
#pragma once

#include "runtime/evaluator.h"

#include <cstdint>

namespace ozra::runtime::code {
struct Expr;
}

namespace ozra::runtime::detail {

// Stack use (see `CallGuard`). A run and every nested call enter a
// `StackScope`; the first one sets the limit the others are checked
// against. Between them, deep statements and expressions check the stack
// with `CheckStack`, which costs one predictable branch.
[[noreturn]] void RaiseStackOverflow();

class StackScope {
  public:
    explicit StackScope(TtsResult& context) : guard_(*context.Guard) {
        const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
        if (here < guard_.StackLimit) [[unlikely]]
            Begin(here);
        ++guard_.Depth;
    }
    StackScope(const StackScope&) = delete;
    StackScope& operator=(const StackScope&) = delete;
    ~StackScope() {
        if (--guard_.Depth == 0) {
            guard_.StackBase = 0;
            guard_.StackLimit = UINTPTR_MAX;
        }
    }

  private:
    void Begin(std::uintptr_t here) {
        if (guard_.Depth != 0) RaiseStackOverflow();
        guard_.StackBase = here;
        guard_.StackLimit = here > guard_.StackBudget ? here - guard_.StackBudget : 0;
    }

    CallGuard& guard_;
};

// Raises "stack overflow." when the caller's frame is past the budget of the
// scope it runs in; outside every scope there is nothing to measure against.
[[gnu::always_inline]] inline void CheckStack(TtsResult& context) {
    const CallGuard& guard = *context.Guard;
    if (reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)) < guard.StackLimit)
        [[unlikely]] {
        if (guard.Depth != 0) RaiseStackOverflow();
    }
}

// References (references.cpp).
void EvaluateReference(front::TtsVarRef& reference, TtsResult& context);
// Writes the variable or member a plain or dotted name refers to.
void AssignReference(front::TtsVarRef& reference, TtsResult& context, const value::TtsValue& value);

// Functions (functions.cpp).
// A call of a function whose parameters bind directly (`DirectCall`), with
// arguments that are neither named nor passed with "ref".
void CallDirect(front::TtsFunctionNode& function, TtsResult& context,
                const front::TtsExpressions* arguments, value::TtsValue& out);
// The same for a prepared call site (see code.h), whose arguments are
// prepared expressions; the result is left in `scratch`.
const value::TtsValue& CallPrepared(code::Expr& call, TtsResult& context, value::TtsValue& scratch);

// The method a script object's class (or a base class, searching from
// `from`) defines under that name, or null.
front::TtsFunctionNode* FindMethod(front::TtsClassNode* from, TtsResult& context,
                                   std::string_view name);
// Calls a method found by `FindMethod` on the object, entered from `from`.
void CallMethodFound(front::TtsObjectNode& object, TtsResult& context, front::TtsClassNode& from,
                     front::TtsFunctionNode& method, value::TtsValue& out,
                     const front::TtsExpressions* arguments);

// Sets, sub-sets and filters (set_expressions.cpp).
void EvaluateSubSet(front::TtsSubSetExpr& node, TtsResult& context);
void EvaluateFilter(front::TtsFilterExpr& node, TtsResult& context);
// The element an index selects: by position (negative counts from the end)
// or by element name; null when the position is past the end.
front::TtsExpression* SetElement(front::TtsSet& set, const value::TtsValue& index);
// "in" with a set on the right: true when an element equals the value,
// otherwise Empty.
value::TtsValue Membership(const value::TtsValue& value, front::TtsSet& set);
// The set a value refers to, or null.
front::TtsSet* AsSet(const value::TtsValue& value) noexcept;

// The variable a plain name has resolved to, when reading the name is no
// more than reading that variable's slot; null otherwise.
inline front::TtsVariable* PlainVariable(front::TtsExpression& expression) noexcept {
    if (expression.Kind != front::NodeKind::VarRef) return nullptr;
    return static_cast<front::TtsVarRef&>(expression).PlainTarget;
}

// The slot pointer through which an operand that reads without effect (a
// constant, or a plain name resolved to its variable) is found; null for
// anything that has to be evaluated.
inline value::TtsValue* const* PlainOperandSlot(front::TtsExpression& operand) noexcept {
    if (operand.Kind == front::NodeKind::Const) return &operand.ValueSlot;
    if (front::TtsVariable* variable = PlainVariable(operand)) return &variable->ValueSlot;
    return nullptr;
}

// Evaluates an expression, but reads a constant or a plain resolved variable
// where it lives instead of copying it into the reference node. The answer
// is valid only until the next evaluation or write of a variable.
inline const value::TtsValue& Read(front::TtsExpression& expression, TtsResult& context) {
    if (expression.Kind == front::NodeKind::Const) return expression.Value();
    if (front::TtsVariable* variable = PlainVariable(expression)) return variable->Value();
    return Evaluate(expression, context);
}

// Writes an expression node: variables as the language writes variables,
// other nodes plainly.
void WriteExpression(front::TtsExpression& expression, const value::TtsValue& value);

// An integer holding an object's address ("@name").
value::TtsValue AddressOf(const void* object) noexcept;

// Runs a filter condition with the filter mode on and the filter (or loop)
// as the current node, and puts both back afterwards.
class FilterScope {
  public:
    FilterScope(TtsResult& context, front::TtsNode* node) noexcept
        : context_(context), savedNode_(context.CurrentNode), savedMode_(context.FilterMode()) {
        context.CurrentNode = node;
        context.SetFilterMode(true);
    }
    FilterScope(const FilterScope&) = delete;
    FilterScope& operator=(const FilterScope&) = delete;
    ~FilterScope() {
        context_.CurrentNode = savedNode_;
        context_.SetFilterMode(savedMode_);
    }

  private:
    TtsResult& context_;
    front::TtsNode* savedNode_;
    bool savedMode_;
};

} // namespace ozra::runtime::detail
