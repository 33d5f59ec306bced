// `TtsCallObject`: a callable handle on script code, for libraries that let
// code outside the evaluator call back into a script (a native callback, an
// automation event handler).
//
// A handle is prepared once from a function name and an optional receiver:
// when the receiver is a script object, the handle calls that object's
// method of the name (looked up in its class and the base classes);
// otherwise it calls the function of the name as seen from a scope node,
// normally the expression that gave the name. Preparing fails as a call
// would ("function " + name + " not found."), so a library can refuse a
// handle before any callback arrives.
//
// The handle holds counted references to what it calls, so a callback made
// in one statement still works after the function's block or the object's
// last variable has moved on. It keeps its argument nodes from call to
// call: a callback may run a million times in one native call, and the
// evaluator copies argument values out of the nodes before the function
// body runs, so a nested call of the same handle may refill them.
#pragma once

#include "front/syntax_tree.h"
#include "value/object.h"
#include "value/value.h"

#include <span>
#include <string>
#include <string_view>

namespace ozra::runtime {

class TtsResult;

// Constant expressions holding the values, in order: how host code hands
// values to the evaluator where it expects expressions (arguments, set
// elements).
front::TtsExpressions ConstantExpressions(std::span<const value::TtsValue> values);

class TtsCallObject final : public value::TtsObjectZero {
  public:
    static value::Ref<TtsCallObject> Prepare(TtsResult& context, std::string_view name,
                                             const value::TtsValue& receiver,
                                             const front::TtsNode& scope);
    // What `Prepare` found: the function (for a method, the method found),
    // and the receiver of a method call or none.
    TtsCallObject(value::Ref<front::TtsFunctionNode> function,
                  value::Ref<front::TtsObjectNode> object, std::string name) noexcept;

    std::string_view ClassName() const override { return "TtsCallObject"; }

    // The formal parameter count of the function or method.
    int ParameterCount() const noexcept;
    // Calls it with the values as positional arguments; `out` receives the
    // result.
    void Call(TtsResult& context, std::span<const value::TtsValue> arguments, value::TtsValue& out);

  private:
    value::Ref<front::TtsFunctionNode> function_;
    // The receiver of a method call, or none for a plain function.
    value::Ref<front::TtsObjectNode> object_;
    std::string name_;
    front::TtsExpressions arguments_;
};

} // namespace ozra::runtime
