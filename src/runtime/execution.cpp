// Statement execution: blocks and pending exits, output, assignments,
// branches, loops and try statements.
//
// An exit or skip does not unwind the C++ stack: it is recorded in the
// context (`ExitNode`) and every block on the way out stops, until a
// construct of the exit's name consumes it (see `ExecuteBlock` and
// `LoopShouldStop`). Errors, in contrast, are exceptions.
#include "runtime/evaluator.h"

#include "platform/error.h"
#include "runtime/evaluator_internal.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/operators.h"

#include <string>

namespace ozra::runtime {

using namespace value;

using namespace front;

// File blocks, output capture and the legacy file statements
// (file_output.cpp).
namespace detail {
void ExecuteFile(TtsFileNode& node, TtsResult& context);
void ExecuteCapture(TtsAssignNode& node, TtsResult& context);
void ExecuteOldCopy(TtsOldCopy& node, TtsResult& context);
void ExecuteOldExecute(TtsOldExecute& node, TtsResult& context);
} // namespace detail

namespace {

// Whether a control consumes an exit of that name: an if or case branch
// when the name occurs within its keyword ("if" in "elseif"), a loop never
// (loops check after each round), any other control by exact keyword.
bool MatchesExit(const TtsNode& control, std::string_view exitName) {
    if (IsKindOf(control.Kind, NodeKind::LogicNode))
        return control.Name.find(exitName) != std::string::npos;
    if (IsKindOf(control.Kind, NodeKind::LoopNode)) return false;
    return control.Name == exitName;
}

// After a round of a loop body: true when the loop must stop. An exit of
// another name stays pending for the enclosing constructs.
[[gnu::always_inline]] inline bool LoopShouldStop(TtsLoopNode& loop, TtsResult& context) {
    TtsExit* exit = context.ExitNode;
    if (!exit) [[likely]]
        return false;
    if (exit->Name != loop.Name) return true;
    context.ExitNode = nullptr;
    return exit->Kind != NodeKind::Skip;
}

// Definitions never run where they stand; a used unit runs once.
bool Runnable(const TtsStatement& statement) {
    switch (statement.Kind) {
    case NodeKind::FunctionNode:
    case NodeKind::ClassNode:
    case NodeKind::OldUsing:
        return false;
    case NodeKind::Using: {
        if (!IsExecutable(statement)) return false;
        const TtsNode* mark = static_cast<const TtsUsing&>(statement).UsedBlock->Parent;
        return !(mark && mark->Tag == 1);
    }
    default:
        return true;
    }
}

// A condition's truth; the boolean a comparison gives is decided inline.
bool IsTrue(const TtsValue& value) {
    return value.Kind() == ValueKind::Boolean ? value.Boolean() : ToBoolean(value);
}

void AppendValue(TtsResult& context, const TtsValue& value) {
    if (value.IsText()) {
        context.Append(value.Text());
    } else if (value.Kind() != ValueKind::Empty) {
        context.Append(ToText(value));
    }
}

// Whether a text variable may grow in place: it holds a text nothing else
// shares.
bool CanAppendInPlace(const TtsVariable& variable) {
    return TtsValueHelper::IsUnsharedText(variable.Value());
}

// The text a value adds to a concatenation.
void AppendOperand(TtsVariable& variable, const TtsValue& operand) {
    if (operand.IsText()) {
        TtsValueHelper::AppendText(*variable.ValueSlot, operand.Text());
    } else {
        TtsValueHelper::AppendText(*variable.ValueSlot, ToText(operand));
    }
}

// «s ~= e» and «s += e» with a text e on an unshared text: the same bytes as
// the operator gives, appended in place.
bool AppendAssign(TtsVariable& variable, char code, const TtsValue& operand) {
    if (code != OperatorCode::Concat && !(code == OperatorCode::Add && operand.IsText()))
        return false;
    if (!CanAppendInPlace(variable)) return false;
    AppendOperand(variable, operand);
    return true;
}

// «s = s ~ a ~ b ...» where every added operand is a constant or a plain
// variable other than s: reading them has no effect, so appending them to s
// in place gives what the chain of concatenations would.
bool AppendChain(TtsVariable& variable, TtsExpression& value) {
    constexpr int MaxOperands = 8;
    TtsExpression* operands[MaxOperands];
    int count = 0;
    TtsExpression* node = &value;
    while (node->Kind == NodeKind::DualOperator) {
        auto& dual = static_cast<TtsDualOperator&>(*node);
        if (dual.OperatorCode != OperatorCode::Concat || count == MaxOperands) return false;
        TtsExpression& operand = *dual.Right;
        if (operand.Kind != NodeKind::Const) {
            const TtsVariable* read = detail::PlainVariable(operand);
            if (!read || read->ValueSlot == variable.ValueSlot) return false;
        }
        operands[count++] = &operand;
        node = dual.Left.Get();
    }
    if (count == 0 || detail::PlainVariable(*node) != &variable) return false;
    if (!CanAppendInPlace(variable)) return false;
    // Conversions that fail leave the variable as it was.
    const auto valueOf = [](TtsExpression& operand) -> const TtsValue& {
        return operand.Kind == NodeKind::Const ? operand.Value()
                                               : detail::PlainVariable(operand)->Value();
    };
    std::string converted[MaxOperands];
    for (int i = 0; i < count; ++i) {
        const TtsValue& operand = valueOf(*operands[i]);
        if (!operand.IsText()) converted[i] = ToText(operand);
    }
    // The operands were met from the last one back.
    for (int i = count - 1; i >= 0; --i) {
        const TtsValue& operand = valueOf(*operands[i]);
        TtsValueHelper::AppendText(*variable.ValueSlot, operand.IsText()
                                                            ? operand.Text()
                                                            : std::string_view(converted[i]));
    }
    return true;
}

// An assignment whose target is a plain name already resolved to a
// variable: the variable is read and written where it lives.
void AssignVariable(TtsAssign& node, TtsVariable& variable, TtsResult& context) {
    const char code = node.AssignOperator;
    if (!node.Value) {
        if (code != '+' && code != '-') return;
        const TtsValue step = TtsValue::FromInt32(code == '+' ? 1 : -1);
        TtsValue result;
        if (!TtsOperatorHelper::IntegerBinary('+', variable.Value(), step, result))
            result = TtsOperatorHelper::Binary('+', variable.Value(), step, CaseSensitive(context));
        WriteVariable(variable, result);
        return;
    }
    if (code == 0) {
        if (node.Value->Kind == NodeKind::DualOperator && AppendChain(variable, *node.Value))
            return;
        const TtsValue& value = detail::Read(*node.Value, context);
        const NodeKind kind = node.Value->Kind;
        if (kind == NodeKind::DualOperator || kind == NodeKind::NaryOperator ||
            kind == NodeKind::FunctionExpr) {
            // An operator's or a call's result is read by no one else once
            // the statement has it: taking it leaves a text unshared, ready
            // to grow in place next time.
            TtsValue taken = std::move(*node.Value->ValueSlot);
            WriteVariable(variable, taken);
        } else {
            WriteVariable(variable, value);
        }
        return;
    }
    const TtsValue& operand = detail::Read(*node.Value, context);
    TtsValue result;
    if (!TtsOperatorHelper::IntegerBinary(code, variable.Value(), operand, result)) {
        if (AppendAssign(variable, code, operand)) return;
        result = TtsOperatorHelper::Binary(code, variable.Value(), operand, CaseSensitive(context));
    }
    WriteVariable(variable, result);
}

// Decides once the names are resolved whether a statement can update its
// variable in place (see below), and keeps the slots it reads if so.
[[gnu::noinline]] void DecideInPlace(TtsAssign& node) {
    if (node.AssignOperator == 0 || !node.Value || node.Kind == NodeKind::RefDefine) {
        node.InPlaceDecided = true;
        return;
    }
    TtsVariable* variable = detail::PlainVariable(*node.Target);
    TtsExpression& operand = *node.Value;
    TtsValue* const* operandSlot = detail::PlainOperandSlot(operand);
    if (!variable || !operandSlot) {
        // A plain name not resolved yet may still turn out a plain variable.
        const auto unresolved = [](const TtsExpression& name) {
            if (name.Kind != NodeKind::VarRef) return false;
            const auto& reference = static_cast<const TtsVarRef&>(name);
            return !reference.PropRef && !reference.TargetCache;
        };
        node.InPlaceDecided = !unresolved(*node.Target) && !unresolved(operand);
        return;
    }
    node.TargetSlot = &variable->ValueSlot;
    node.OperandSlot = operandSlot;
    node.InPlaceDecided = true;
}

// «v += 1», «v -= w», «v *= 2» ... on a variable holding an integer, with a
// constant or a plain variable as operand (reading them has no effect, so a
// refusal costs nothing): the result is computed into the variable's slot.
// False when the general path must decide: other kinds, or an overflow
// that widens.
[[gnu::always_inline]] inline bool AssignIntegerInPlace(TtsAssign& node) {
    if (!node.InPlaceDecided) [[unlikely]]
        DecideInPlace(node);
    if (!node.OperandSlot) return false;
    TtsValue& slot = **node.TargetSlot;
    return TtsOperatorHelper::IntegerBinary(node.AssignOperator, slot, **node.OperandSlot, slot);
}

void ExecuteAssign(TtsAssign& node, TtsResult& context) {
    if (node.Kind == NodeKind::RefDefine) return;
    if (TtsVariable* variable = detail::PlainVariable(*node.Target)) {
        AssignVariable(node, *variable, context);
        return;
    }
    if (node.Value && node.AssignOperator == 0) {
        Assign(*node.Target, context, Evaluate(*node.Value, context));
        return;
    }
    TtsValue result;
    if (node.Value) {
        const TtsValue right = Evaluate(*node.Value, context);
        const TtsValue& current = Evaluate(*node.Target, context);
        result =
            TtsOperatorHelper::Binary(node.AssignOperator, current, right, CaseSensitive(context));
    } else if (node.AssignOperator == '+' || node.AssignOperator == '-') {
        const TtsValue step = TtsValue::FromInt32(node.AssignOperator == '+' ? 1 : -1);
        result = TtsOperatorHelper::Binary('+', Evaluate(*node.Target, context), step,
                                           CaseSensitive(context));
    } else {
        return;
    }
    Assign(*node.Target, context, result);
}

bool CaseCondition(TtsCaseNode& node, TtsResult& context) {
    if (!node.CaseValues || node.CaseValues->Elements.IsEmpty()) return false;
    const TtsValue selector = Evaluate(*node.Selector, context);
    Evaluate(*node.CaseValues, context);
    if (node.CaseValues->Elements.Count() == 1) {
        // One value compares case-sensitively, whatever the host's switch.
        return ToBoolean(TtsOperatorHelper::Binary(
            node.CaseOperator, selector, node.CaseValues->Elements.Item(0)->Value(), true));
    }
    const bool member = !TtsValueHelper::IsEmpty(detail::Membership(selector, *node.CaseValues));
    return node.CaseOperator == OperatorCode::Equal ? member : !member;
}

[[gnu::always_inline]] inline void ExecuteLogic(TtsLogicNode& node, TtsResult& context) {
    TtsLogicNode* branch = &node;
    for (;;) {
        const bool taken =
            branch->Kind == NodeKind::IfNode
                ? IsTrue(Evaluate(*static_cast<TtsIfNode*>(branch)->Condition, context))
                : CaseCondition(static_cast<TtsCaseNode&>(*branch), context);
        if (taken) {
            ExecuteBlock(*branch->Body, context);
            return;
        }
        TtsStatement* next = branch->ElseBranch.Get();
        if (!next) return;
        if (!IsKindOf(next->Kind, NodeKind::LogicNode)) {
            ExecuteBlock(static_cast<TtsBlock&>(*next), context);
            return;
        }
        branch = static_cast<TtsLogicNode*>(next);
        context.EnterNode(branch);
    }
}

// Loops run their body's statements themselves (`RunStatements`, below).
void ExecuteLoop(TtsLoopNode& loop, TtsResult& context);
void ExecuteFor(TtsForNode& loop, TtsResult& context);
void ExecuteForeach(TtsForeachNode& loop, TtsResult& context);

void RunFinally(TtsTryNode& node, TtsResult& context) {
    if (!node.FinallyBlock) return;
    TtsExit* pending = context.ExitNode;
    context.ExitNode = nullptr;
    ExecuteBlock(*node.FinallyBlock, context);
    if (!context.ExitNode) context.ExitNode = pending;
}

// A try statement catches the system's errors: its own and those of the
// platform below it (a file that cannot be read or written, a program that
// cannot be started), whose messages read the same to a script.
void RunExcept(TtsTryNode& node, TtsResult& context, const std::exception& error) {
    if (!node.ExceptBlock) throw EtsRuntime(error.what());
    context.ErrorNode = context.CurrentNode;
    WriteVariable(*node.ExceptionVariable, TtsValue::FromText(error.what()));
    ExecuteBlock(*node.ExceptBlock, context);
}

void ExecuteTry(TtsTryNode& node, TtsResult& context) {
    try {
        try {
            ExecuteBlock(*node.Body, context);
        } catch (const EtsException& error) {
            RunExcept(node, context, error);
        } catch (const platform::Error& error) {
            RunExcept(node, context, error);
        }
    } catch (...) {
        RunFinally(node, context);
        throw;
    }
    RunFinally(node, context);
}

void ExecuteUsing(TtsUsing& node, TtsResult& context) {
    // The used block's parent carries the unit's run-once mark.
    if (node.UsedBlock->Parent) node.UsedBlock->Parent->Tag = 1;
    ExecuteBlock(*node.UsedBlock, context);
}

// One statement; inlined into the block loop, which runs nearly all of them.
[[gnu::always_inline]] inline void ExecuteStatement(TtsStatement& statement, TtsResult& context) {
    switch (statement.Kind) {
    case NodeKind::Text:
        context.Append(static_cast<TtsText&>(statement).Text);
        return;
    case NodeKind::Block:
    case NodeKind::Host:
        ExecuteBlock(static_cast<TtsBlock&>(statement), context);
        return;
    case NodeKind::Output: {
        auto& node = static_cast<TtsOutput&>(statement);
        AppendValue(context, Evaluate(*node.Expression, context));
        if (node.NewLine) context.Append("\r\n");
        return;
    }
    case NodeKind::Call:
        Evaluate(*static_cast<TtsCall&>(statement).Expression, context);
        return;
    case NodeKind::Assign:
    case NodeKind::VarDefine:
    case NodeKind::RefDefine: {
        auto& node = static_cast<TtsAssign&>(statement);
        if (!AssignIntegerInPlace(node)) ExecuteAssign(node, context);
        return;
    }
    case NodeKind::IfNode:
    case NodeKind::CaseNode:
        ExecuteLogic(static_cast<TtsLogicNode&>(statement), context);
        return;
    case NodeKind::LoopNode:
        ExecuteLoop(static_cast<TtsLoopNode&>(statement), context);
        return;
    case NodeKind::ForNode:
        ExecuteFor(static_cast<TtsForNode&>(statement), context);
        return;
    case NodeKind::ForeachNode:
        ExecuteForeach(static_cast<TtsForeachNode&>(statement), context);
        return;
    case NodeKind::Exit:
    case NodeKind::Skip:
        context.ExitNode = static_cast<TtsExit*>(&statement);
        return;
    case NodeKind::TryNode:
        ExecuteTry(static_cast<TtsTryNode&>(statement), context);
        return;
    case NodeKind::FileNode:
        detail::ExecuteFile(static_cast<TtsFileNode&>(statement), context);
        return;
    case NodeKind::AssignNode:
        detail::ExecuteCapture(static_cast<TtsAssignNode&>(statement), context);
        return;
    case NodeKind::OldCopy:
        detail::ExecuteOldCopy(static_cast<TtsOldCopy&>(statement), context);
        return;
    case NodeKind::OldExecute:
        detail::ExecuteOldExecute(static_cast<TtsOldExecute&>(statement), context);
        return;
    case NodeKind::Using:
        ExecuteUsing(static_cast<TtsUsing&>(statement), context);
        return;
    default:
        return; // definitions, legacy file heads and end markers do not run
    }
}

// The statements of a block in order, honouring pending exits; inlined
// into the block and loop statements, which run nearly all statements.
[[gnu::always_inline]] inline void RunStatements(TtsBlock& block, TtsResult& context) {
    for (const auto& child : block.Statements) {
        TtsStatement& statement = *child;
        if (!Runnable(statement)) continue;
        context.EnterNode(&statement);
        ExecuteStatement(statement, context);
        if (context.ExitNode) {
            const TtsNode* parent = block.Parent;
            if (!parent || (IsKindOf(parent->Kind, NodeKind::Control) &&
                            MatchesExit(*parent, context.ExitNode->Name)))
                context.ExitNode = nullptr;
            return;
        }
    }
}

void ExecuteLoop(TtsLoopNode& loop, TtsResult& context) {
    for (;;) {
        if (loop.WhileCondition && !IsTrue(Evaluate(*loop.WhileCondition, context))) return;
        RunStatements(*loop.Body, context);
        if (LoopShouldStop(loop, context)) return;
        context.EnterNode(&loop);
        if (loop.UntilCondition && IsTrue(Evaluate(*loop.UntilCondition, context))) return;
    }
}

void ExecuteFor(TtsForNode& loop, TtsResult& context) {
    const std::int64_t start = ToInteger(Evaluate(*loop.StartValue, context));
    const std::int64_t end = ToInteger(Evaluate(*loop.EndValue, context));
    const std::int64_t step = loop.StepValue ? ToInteger(Evaluate(*loop.StepValue, context)) : 1;
    if (step == 0) return;
    for (std::int64_t i = start; step > 0 ? i <= end : i >= end; i += step) {
        WriteVariable(*loop.Variable, TtsValue::FromInt32(static_cast<std::int32_t>(i)));
        RunStatements(*loop.Body, context);
        if (LoopShouldStop(loop, context)) return;
        context.EnterNode(&loop);
    }
}

void ExecuteForeach(TtsForeachNode& loop, TtsResult& context) {
    // A counted copy keeps a collection that only this loop still refers to
    // alive while the loop runs.
    TtsValue collection = Evaluate(*loop.Collection, context);
    TtsValueHelper::MarkCounted(collection);
    WriteVariable(*loop.Cursor, collection);
    TtsValue item;
    std::int32_t index = 0;
    GetItem(*loop.Cursor, TtsValue::FromInt32(index), context, item);
    while (!TtsValueHelper::IsEmpty(item)) {
        WriteVariable(*loop.Variable, item);
        bool selected = true;
        if (loop.Filter) {
            detail::FilterScope scope(context, &loop);
            selected = ToBoolean(Evaluate(*loop.Filter, context));
        }
        if (selected) {
            RunStatements(*loop.Body, context);
            if (LoopShouldStop(loop, context)) return;
        }
        GetItem(*loop.Cursor, TtsValue::FromInt32(++index), context, item);
        context.EnterNode(&loop);
    }
}

} // namespace

void Execute(TtsStatement& statement, TtsResult& context) {
    ExecuteStatement(statement, context);
}

void ExecuteBlock(TtsBlock& block, TtsResult& context) {
    RunStatements(block, context);
}

void Run(TtsBlock& root, TtsResult& context) {
    ExecuteBlock(root, context);
    context.ExitNode = nullptr;
}

} // namespace ozra::runtime
