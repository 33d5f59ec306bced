// Statement execution: blocks and pending exits, output, assignments,
// branches, loops and try statements.
//
// An exit or skip does not unwind the C++ stack: it is recorded in the
// context (`ExitNode`) and every block on the way out stops, until a
// construct of the exit's name consumes it (see `ExecuteBlock` and
// `LoopShouldStop`). Errors, in contrast, are exceptions.
#include "runtime/evaluator.h"

#include "platform/error.h"
#include "runtime/code.h"
#include "runtime/evaluator_internal.h"
#include "runtime/host.h"
#include "value/conversions.h"
#include "value/errors.h"
#include "value/operators.h"

#include <string>

namespace ozra::runtime {

using namespace value;

using namespace front;
using code::ExprForm;

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

// The statements that run through the tree walker: case chains (and if
// chains with a case link), try, file and capture blocks, the legacy file
// statements. Their bodies run prepared again.
void ExecuteTreeWalked(TtsStatement& statement, TtsResult& context) {
    switch (statement.Kind) {
    case NodeKind::IfNode:
    case NodeKind::CaseNode:
        ExecuteLogic(static_cast<TtsLogicNode&>(statement), context);
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
    default:
        return;
    }
}

// Prepared steps (see code.h).

using code::CompiledBlock;
using code::Eval;
using code::Holds;
using code::RunSteps;
using code::Step;
using code::StepForm;

// Lets go of the values the tree walker left in nodes, also on failure.
class Scrubbed {
  public:
    explicit Scrubbed(const std::vector<TtsExpression*>& nodes) noexcept : nodes_(nodes) {}
    Scrubbed(const Scrubbed&) = delete;
    Scrubbed& operator=(const Scrubbed&) = delete;
    ~Scrubbed() { code::ScrubNodes(nodes_); }

  private:
    const std::vector<TtsExpression*>& nodes_;
};

void RunBlock(TtsBlock& block, TtsResult& context) {
    detail::CheckStack(context);
    code::RunSteps(code::CodeOf(block, context), context);
}

// Writes a computed value into a variable, taking it over.
[[gnu::always_inline]] inline void TakeIntoVariable(TtsVariable& variable, TtsValue& value) {
    TtsValue* slot = variable.ValueSlot;
    *slot = std::move(value);
    if (IsKindOf(variable.Kind, NodeKind::GcVariable)) TtsValueHelper::MarkCounted(*slot);
}

void RunText(Step& step, TtsResult& context) {
    context.Append(step.Text);
}

void RunOutput(Step& step, TtsResult& context) {
    TtsValue scratch;
    AppendValue(context, Eval(*step.First, context, scratch));
    if (static_cast<TtsOutput&>(*step.Node).NewLine) context.Append("\r\n");
}

void RunCall(Step& step, TtsResult& context) {
    TtsValue scratch;
    Eval(*step.First, context, scratch);
}

void WriteEvaluated(TtsVariable& variable, const TtsValue& value, TtsValue& scratch) {
    if (&value == &scratch) {
        TakeIntoVariable(variable, scratch);
    } else {
        WriteVariable(variable, value);
    }
}

void RunAssignValue(Step& step, TtsResult& context) {
    TtsVariable& variable = *step.Variable;
    TtsValue scratch;
    WriteEvaluated(variable, Eval(*step.First, context, scratch), scratch);
}

// «s = s ~ a ~ b»: appended in place when it can be.
void RunAssignConcat(Step& step, TtsResult& context) {
    TtsVariable& variable = *step.Variable;
    if (AppendChain(variable, *static_cast<TtsAssign&>(*step.Node).Value)) return;
    TtsValue scratch;
    WriteEvaluated(variable, Eval(*step.First, context, scratch), scratch);
}

// The slot a compound assignment's operand is read from, when reading it
// is no more than that (a constant or a plain variable).
TtsValue* const* OperandSlot(const code::Expr& operand) {
    if (operand.Form == ExprForm::Variable) return operand.LeftSlot;
    if (operand.Form == ExprForm::Constant) return &operand.Node->ValueSlot;
    return nullptr;
}

[[gnu::noinline]] void RunAssignCompound(Step& step, TtsResult& context) {
    TtsVariable& variable = *step.Variable;
    const char code = step.Code;
    TtsValue scratch;
    const TtsValue& operand = Eval(*step.First, context, scratch);
    TtsValue result;
    if (TtsOperatorHelper::IntegerBinary(code, variable.Value(), operand, result)) {
        TakeIntoVariable(variable, result);
    } else if (!AppendAssign(variable, code, operand)) {
        result = TtsOperatorHelper::Binary(code, variable.Value(), operand, CaseSensitive(context));
        TakeIntoVariable(variable, result);
    }
    // An operand that was a name on first use reads its slot from now on.
    if (!step.OperandSlot && OperandSlot(*step.First)) [[unlikely]]
        code::ChooseRun(step);
}

// «v += 1», «v -= w»: an integer is updated in place from the operand's
// slot; anything else takes the general path.
template <char Code> void RunAssignOnSlots(Step& step, TtsResult& context) {
    TtsValue& slot = *step.Variable->ValueSlot;
    if (TtsOperatorHelper::IntegerBinary(Code ? Code : step.Code, slot, **step.OperandSlot, slot))
        return;
    RunAssignCompound(step, context);
}

void RunAssignStep(Step& step, TtsResult& context) {
    TtsVariable& variable = *step.Variable;
    if (step.Code != '+' && step.Code != '-') return;
    const TtsValue by = TtsValue::FromInt32(step.Code == '+' ? 1 : -1);
    TtsValue& slot = *variable.ValueSlot;
    if (TtsOperatorHelper::IntegerBinary('+', slot, by, slot)) return;
    TtsValue result = TtsOperatorHelper::Binary('+', slot, by, CaseSensitive(context));
    TakeIntoVariable(variable, result);
}

// A target that is not a plain variable (yet): written through the tree's
// references; one that resolves to a plain variable is written directly
// from then on.
void RunAssignName(Step& step, TtsResult& context) {
    auto& node = static_cast<TtsAssign&>(*step.Node);
    {
        Scrubbed scrubbed(step.Scrub);
        if (step.First && step.Code == 0) {
            TtsValue scratch;
            Assign(*node.Target, context, Eval(*step.First, context, scratch));
        } else {
            ExecuteAssign(node, context);
        }
    }
    TtsVarRef& target = *node.Target;
    if (target.Kind == NodeKind::VarRef && !target.PropRef && target.PlainTarget) {
        step.Variable = target.PlainTarget;
        step.Form = StepForm::Assign;
        step.Scrub.clear();
        code::ChooseRun(step);
    }
}

void RunIf(Step& step, TtsResult& context) {
    const code::Branch* branch = step.Branches.data();
    const code::Branch* end = branch + step.Branches.size();
    for (;;) {
        if (Holds(*branch->Condition, context)) {
            RunBlock(*branch->Body, context);
            return;
        }
        if (++branch == end) break;
        context.EnterNode(branch->Node);
    }
    if (step.Body) RunBlock(*step.Body, context);
}

// «if (c) ... else ... end if», the usual chain of one link.
void RunIfElse(Step& step, TtsResult& context) {
    const code::Branch& branch = step.Branches.front();
    if (Holds(*branch.Condition, context)) {
        RunBlock(*branch.Body, context);
    } else if (step.Body) {
        RunBlock(*step.Body, context);
    }
}

void RunLoop(Step& step, TtsResult& context) {
    auto& loop = static_cast<TtsLoopNode&>(*step.Node);
    detail::CheckStack(context);
    CompiledBlock& body = code::CodeOf(*step.Body, context);
    for (;;) {
        if (step.First && !Holds(*step.First, context)) return;
        RunSteps(body, context);
        if (LoopShouldStop(loop, context)) return;
        context.EnterNode(&loop);
        if (step.Second && Holds(*step.Second, context)) return;
    }
}

std::int64_t IntegerOf(code::Expr& expr, TtsResult& context) {
    TtsValue scratch;
    return ToInteger(Eval(expr, context, scratch));
}

void RunFor(Step& step, TtsResult& context) {
    auto& loop = static_cast<TtsForNode&>(*step.Node);
    const std::int64_t start = IntegerOf(*step.First, context);
    const std::int64_t end = IntegerOf(*step.Second, context);
    const std::int64_t by = step.Third ? IntegerOf(*step.Third, context) : 1;
    if (by == 0) return;
    detail::CheckStack(context);
    CompiledBlock& body = code::CodeOf(*step.Body, context);
    for (std::int64_t i = start; by > 0 ? i <= end : i >= end; i += by) {
        WriteVariable(*step.Variable, TtsValue::FromInt32(static_cast<std::int32_t>(i)));
        RunSteps(body, context);
        if (LoopShouldStop(loop, context)) return;
        context.EnterNode(&loop);
    }
}

// The loop variable lets its last item go when the loop ends: it is not
// visible after the loop.
class LoopVariableHold {
  public:
    explicit LoopVariableHold(TtsVariable& variable) noexcept : variable_(variable) {}
    LoopVariableHold(const LoopVariableHold&) = delete;
    LoopVariableHold& operator=(const LoopVariableHold&) = delete;
    ~LoopVariableHold() { WriteVariable(variable_, TtsValue()); }

  private:
    TtsVariable& variable_;
};

// The collection is held by a counted copy of the loop's own for as long as
// the loop runs, also when the loop's function is entered again from its
// body.
void RunForeach(Step& step, TtsResult& context) {
    auto& loop = static_cast<TtsForeachNode&>(*step.Node);
    TtsHostValue collection;
    {
        TtsValue scratch;
        collection.SetValue(Eval(*step.First, context, scratch));
    }
    LoopVariableHold hold(*step.Variable);
    detail::CheckStack(context);
    CompiledBlock& body = code::CodeOf(*step.Body, context);
    TtsValue item;
    std::int32_t index = 0;
    GetItem(collection, TtsValue::FromInt32(index), context, item);
    while (!TtsValueHelper::IsEmpty(item)) {
        WriteVariable(*step.Variable, item);
        bool selected = true;
        if (loop.Filter) {
            Scrubbed scrubbed(step.Scrub);
            detail::FilterScope scope(context, &loop);
            selected = ToBoolean(Evaluate(*loop.Filter, context));
        }
        if (selected) {
            RunSteps(body, context);
            if (LoopShouldStop(loop, context)) return;
        }
        GetItem(collection, TtsValue::FromInt32(++index), context, item);
        context.EnterNode(&loop);
    }
}

void RunExit(Step& step, TtsResult& context) {
    context.ExitNode = static_cast<TtsExit*>(step.Node);
}

void RunNestedBlock(Step& step, TtsResult& context) {
    RunBlock(*step.Body, context);
}

// A used unit runs once, the first time any using statement of it is met;
// its block's parent carries the mark.
void RunUsing(Step& step, TtsResult& context) {
    if (!Runnable(*step.Node)) return;
    if (step.Body->Parent) step.Body->Parent->Tag = 1;
    RunBlock(*step.Body, context);
}

void RunTreeWalked(Step& step, TtsResult& context) {
    Scrubbed scrubbed(step.Scrub);
    ExecuteTreeWalked(*step.Node, context);
}

void RunOverflow(Step&, TtsResult&) {
    detail::RaiseStackOverflow();
}

} // namespace

namespace detail {

void RaiseStackOverflow() {
    throw EtsRuntime("stack overflow.");
}

} // namespace detail

void code::LeaveBlock(const TtsBlock& block, TtsResult& context) {
    const TtsNode* parent = block.Parent;
    if (!parent ||
        (IsKindOf(parent->Kind, NodeKind::Control) && MatchesExit(*parent, context.ExitNode->Name)))
        context.ExitNode = nullptr;
}

void code::ChooseRun(Step& step) {
    switch (step.Form) {
    case StepForm::Text:
        step.Run = RunText;
        return;
    case StepForm::Output:
        step.Run = RunOutput;
        return;
    case StepForm::Call:
        step.Run = RunCall;
        return;
    case StepForm::Assign:
        if (!step.First) {
            step.Run = RunAssignStep;
        } else if (step.Code != 0) {
            step.OperandSlot = OperandSlot(*step.First);
            step.Run =
                !step.OperandSlot                     ? RunAssignCompound
                : step.Code == OperatorCode::Add      ? RunAssignOnSlots<OperatorCode::Add>
                : step.Code == OperatorCode::Subtract ? RunAssignOnSlots<OperatorCode::Subtract>
                : step.Code == OperatorCode::Multiply ? RunAssignOnSlots<OperatorCode::Multiply>
                                                      : RunAssignOnSlots<0>;
        } else if (step.First->Form == ExprForm::Operator &&
                   step.First->Code == OperatorCode::Concat) {
            step.Run = RunAssignConcat;
        } else {
            step.Run = RunAssignValue;
        }
        return;
    case StepForm::AssignName:
        step.Run = RunAssignName;
        return;
    case StepForm::If:
        step.Run = step.Branches.size() == 1 ? RunIfElse : RunIf;
        return;
    case StepForm::Loop:
        step.Run = RunLoop;
        return;
    case StepForm::For:
        step.Run = RunFor;
        return;
    case StepForm::Foreach:
        step.Run = RunForeach;
        return;
    case StepForm::Exit:
        step.Run = RunExit;
        return;
    case StepForm::Block:
        step.Run = RunNestedBlock;
        return;
    case StepForm::Using:
        step.Run = RunUsing;
        return;
    case StepForm::Tree:
        step.Run = RunTreeWalked;
        return;
    case StepForm::Overflow:
        step.Run = RunOverflow;
        return;
    }
}

void ExecuteBlock(TtsBlock& block, TtsResult& context) {
    RunBlock(block, context);
}

void Run(TtsBlock& root, TtsResult& context) {
    detail::StackScope scope(context);
    RunBlock(root, context);
    context.ExitNode = nullptr;
}

} // namespace ozra::runtime
