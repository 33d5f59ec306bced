// The form in which the runtime executes a block: its statements and their
// expressions prepared once, at the block's first run, as pre-bound steps.
//
// Each statement becomes a `Step` and each expression an `Expr`: a record
// holding the function that runs it (chosen for its kind and operands when
// it is prepared), the syntax node it stands for, and what that function
// needs (operands, the slot pointers of resolved variables, the function a
// call site calls). Running a block is a loop over its steps that calls
// each step's function; there is no dispatch on node kinds left on the hot
// paths, and operators over plain operands read the variables' slots
// directly.
//
// The tree stays the source of truth: a block's `Code` is derived from it,
// owned by it, and never streamed. Names are still resolved lazily, at
// first use, with the tree's own rules; a step or expression whose names are
// not resolved yet starts in a general form that resolves them and then
// switches itself (its `Run`) to the specialised form. Statements and
// expressions with no specialised form run through the tree walker
// (`Execute`, `Evaluate`), whose control bodies come back here.
//
// An expression answers a reference to its value: to a variable's slot, a
// constant, or the `scratch` value its caller provides for a computed
// result. So computed values live in the caller's C++ frame and are gone
// when the statement ends: no node keeps an object alive past its last
// reference. Where a part of a statement runs through the tree walker
// (which keeps values in nodes), the nodes it fills are listed in `Scrub`
// and let go of what they hold right after use.
//
// Preparing and running deep trees is guarded like calls: past the run's
// stack budget a statement raises "stack overflow." at its position.
#pragma once

#include "front/syntax_tree.h"
#include "runtime/result.h"
#include "value/value.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace ozra::runtime::code {

struct Expr;
struct Step;

using ExprRun = const value::TtsValue& (*)(Expr& expr, TtsResult& context,
                                           value::TtsValue& scratch);
// The truth of an expression used as a condition.
using ExprTest = bool (*)(Expr& expr, TtsResult& context);
using StepRun = void (*)(Step& step, TtsResult& context);

enum class ExprForm : std::uint8_t {
    Constant, // `Node`'s value
    Variable, // a plain variable's slot: `LeftSlot`
    Name,     // a plain name not resolved yet
    Operator, // `Left` `Code` `Right`; `LeftSlot`/`RightSlot` when both plain
    Not,      // a unary operator `Code` on `Left`
    Call,     // a call of a plain name with positional arguments
    Tree,     // evaluated by the tree walker
};

struct Expr {
    ExprRun Run = nullptr;
    // A comparison of plain operands answers without making a value.
    ExprTest Test = nullptr;
    front::TtsExpression* Node = nullptr;
    Expr* Left = nullptr;
    Expr* Right = nullptr;
    value::TtsValue* const* LeftSlot = nullptr;
    value::TtsValue* const* RightSlot = nullptr;
    // A call site's arguments and, once resolved, the function it calls.
    std::vector<Expr*> Arguments;
    front::TtsFunctionNode* Function = nullptr;
    // The nodes of a `Tree` expression that the tree walker fills.
    std::vector<front::TtsExpression*> Scrub;
    ExprForm Form = ExprForm::Tree;
    char Code = 0;
    // The right operand may run code that changes what the left one read,
    // so the left value is copied before the right one runs.
    bool KeepLeft = false;
    // Prepared from deep inside an expression: checks the stack on entry.
    bool Deep = false;
};

[[gnu::always_inline]] inline const value::TtsValue& Eval(Expr& expr, TtsResult& context,
                                                          value::TtsValue& scratch) {
    return expr.Run(expr, context, scratch);
}
[[gnu::always_inline]] inline bool Holds(Expr& expr, TtsResult& context) {
    return expr.Test(expr, context);
}

enum class StepForm : std::uint8_t {
    Text,
    Output,     // `First`, then a line break when the node asks for one
    Call,       // `First`, value discarded
    Assign,     // `First` into `Variable` with `Code`; `Second` for a
                // compound operand read in place
    AssignName, // a target not resolved yet, or not a plain variable
    If,         // `Branches`, then `Else`
    Loop,       // `First` while, `Second` until, body `Body`
    For,        // `Variable` from `First` to `Second` step `Third`
    Foreach,    // `Variable` over `First`, filter through the tree walker
    Exit,       // also a skip
    Block,      // `Body`
    Using,
    Tree,     // run by the tree walker
    Overflow, // too deep to prepare: raises "stack overflow."
};

struct Branch {
    Expr* Condition;
    front::TtsBlock* Body;
    front::TtsStatement* Node;
};

struct Step {
    StepRun Run = nullptr;
    front::TtsStatement* Node = nullptr;
    Expr* First = nullptr;
    Expr* Second = nullptr;
    Expr* Third = nullptr;
    front::TtsVariable* Variable = nullptr;
    // A compound assignment's operand, when it reads a slot.
    value::TtsValue* const* OperandSlot = nullptr;
    front::TtsBlock* Body = nullptr;
    std::vector<Branch> Branches;
    std::vector<front::TtsExpression*> Scrub;
    std::string_view Text;
    StepForm Form = StepForm::Tree;
    char Code = 0;
};

class CompiledBlock final : public front::DerivedCode {
  public:
    explicit CompiledBlock(front::TtsBlock& block) : Block(block) {}

    front::TtsBlock& Block;
    std::vector<Step> Steps;
    // The expressions of the steps; a deque keeps their addresses.
    std::deque<Expr> Exprs;
};

// Prepares a block (code_builder.cpp): every statement that runs, with the
// names resolved so far. Needs the context for the stack guard only.
std::unique_ptr<CompiledBlock> Prepare(front::TtsBlock& block, TtsResult& context);
// Prepares one expression into `block`'s expressions.
Expr& PrepareExpression(CompiledBlock& block, front::TtsExpression& expression, TtsResult& context);

// Chooses the function that runs a prepared record from its form and
// operands (compiled_expressions.cpp, execution.cpp).
void ChooseRun(Expr& expr);
void ChooseRun(Step& step);

// The prepared form of a block, made at its first run.
[[gnu::always_inline]] inline CompiledBlock& CodeOf(front::TtsBlock& block, TtsResult& context) {
    if (!block.Code) [[unlikely]]
        block.Code = Prepare(block, context);
    return static_cast<CompiledBlock&>(*block.Code);
}

// Called when a step leaves an exit pending: the block stops, and its parent
// consumes the exit when it is the construct the exit names (the root
// consumes any).
void LeaveBlock(const front::TtsBlock& block, TtsResult& context);

// The steps of a prepared block in order; the statement hook (`EnterNode`)
// runs before each.
[[gnu::always_inline]] inline void RunSteps(CompiledBlock& block, TtsResult& context) {
    for (Step& step : block.Steps) {
        context.EnterNode(step.Node);
        step.Run(step, context);
        if (context.ExitNode) [[unlikely]] {
            LeaveBlock(block.Block, context);
            return;
        }
    }
}

// Lets go of what tree-walked nodes hold once their values are used.
void ScrubNodes(const std::vector<front::TtsExpression*>& nodes) noexcept;

// Collects the nodes at and below `expression` that keep values the tree
// walker computed, leaving out variables, constants and sets, whose values
// are the script's own.
void CollectScrub(front::TtsExpression& expression, std::vector<front::TtsExpression*>& out);

} // namespace ozra::runtime::code
