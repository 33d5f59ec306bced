// The tree walker: how a syntax tree runs.
//
// The evaluator executes statements and evaluates expressions in place on
// the tree built by the front end, dispatching on each node's `Kind`. An
// expression's value lives in the node (`Value()`, through its `ValueSlot`),
// so `Evaluate` answers a reference to it instead of a copy; the reference
// stays valid until that node is evaluated again.
//
// Libraries use the same entry points: a library method receives its
// arguments unevaluated and evaluates them with `Evaluate`; the dispatch of
// method calls, property access and indexing of library objects goes the
// other way, through the host interface of the context.
//
// Every failure is an `EtsRuntime` (or `EtsException`) carrying the
// language's message; the statement that was running is the context's
// `CurrentNode`.
#pragma once

#include "front/syntax_tree.h"
#include "runtime/result.h"
#include "value/value.h"

#include <string_view>

namespace ozra::runtime {

// Statements (execution.cpp).

// Runs a whole tree: the root block, then clears any exit left pending.
void Run(front::TtsBlock& root, TtsResult& context);
// Executes the statements of a block in order, honouring pending exits.
void ExecuteBlock(front::TtsBlock& block, TtsResult& context);

// Expressions (expressions.cpp).

// Evaluates the expression and answers its current value.
const value::TtsValue& Evaluate(front::TtsExpression& expression, TtsResult& context);
// Evaluates the expression and copies its value out.
void EvaluateInto(front::TtsExpression& expression, TtsResult& context, value::TtsValue& out);
// Writes the target of a reference (a name, a member, an indexed element).
void Assign(front::TtsVarRef& reference, TtsResult& context, const value::TtsValue& value);
// Calls the function, class or method a reference names; `arguments` may
// be null for "f()".
void Call(front::TtsVarRef& reference, TtsResult& context, const front::TtsExpressions* arguments,
          value::TtsValue& out);
// The class a reference names.
front::TtsClassNode& FindClass(front::TtsVarRef& reference, TtsResult& context);
// Indexing by the expression's current value: sets by position or element
// name, everything else through the host.
void GetItem(front::TtsExpression& expression, const value::TtsValue& index, TtsResult& context,
             value::TtsValue& out);
void SetItem(front::TtsExpression& expression, const value::TtsValue& index, TtsResult& context,
             const value::TtsValue& value);
// The host's case switch (on when the context has no host).
bool CaseSensitive(const TtsResult& context);
// Writes a variable the way the language does: where its slot points now
// (its own storage, a nested activation's slot, a caller's variable passed
// with "ref", an object's member), keeping a counted reference for the
// variable kinds that own the objects they hold.
[[gnu::always_inline]] inline void WriteVariable(front::TtsVariable& variable,
                                                 const value::TtsValue& value) {
    value::TtsValue* slot = variable.ValueSlot;
    if (&value == slot) return;
    *slot = value;
    if (front::IsKindOf(variable.Kind, front::NodeKind::GcVariable))
        value::TtsValueHelper::MarkCounted(*slot);
}

// Functions, classes and script objects (functions.cpp).

// Calls a function node, or creates an object when it is a class.
void CallFunction(front::TtsFunctionNode& function, TtsResult& context,
                  const front::TtsExpressions* arguments, value::TtsValue& out);
// Calls a method of a script object. `startClass` is the class whose base
// class to search from («base.M()»), or null to search from the object's
// class. With `missingAllowed` an unknown method does nothing.
void CallMethod(front::TtsObjectNode& object, TtsResult& context, std::string_view name,
                value::TtsValue& out, bool missingAllowed, front::TtsClassNode* startClass,
                const front::TtsExpressions* arguments);
// The member variable of a script object, or name + " not found.".
front::TtsVariable& Member(front::TtsObjectNode& object, std::string_view name);
// The base class of a class, resolved at first need and then kept.
front::TtsClassNode* BaseClassOf(front::TtsClassNode& cls, TtsResult& context);

} // namespace ozra::runtime
