// Calls from host code into script objects: `TScriptHelper` calls a method
// without arguments (for example a form's event handler looked up by name),
// `TOzraExecutor` is a deferred call with arguments made for one event.
//
// Each call runs in a child context pushed on the run's root context and
// popped again afterwards, also when the method fails, so that the text a
// failing method wrote never reaches the root context's output.
#pragma once

#include "front/syntax_tree.h"
#include "value/value.h"

#include <string>
#include <string_view>

namespace ozra::runtime {

class TGlobalData;
class TtsResult;

class TScriptHelper {
  public:
    explicit TScriptHelper(TGlobalData& global) noexcept : global_(global) {}

    // Output discarded; a missing method is not an error.
    void Call(front::TtsObjectNode& object, std::string_view method);
    // The method's output text; a missing method raises
    // "function " + name + " not found.".
    std::string CallForText(front::TtsObjectNode& object, std::string_view method);
    // The method's result; a missing method is not an error (Empty).
    value::TtsValue CallForValue(front::TtsObjectNode& object, std::string_view method);

  private:
    TtsResult& RootContext() const;

    TGlobalData& global_;
};

class TOzraExecutor {
  public:
    TOzraExecutor(TtsResult& rootContext, front::TtsObjectNode& object, std::string dottedMethod);

    // Wraps a host object (the event object, say) as the next argument,
    // named when `name` is not empty.
    void AddArgument(value::TtsObject* hostObject, std::string_view name = {});
    // Calls the method once. Members named by all but the last part of the
    // dotted name lead to the receiver: a missing member raises
    // name + " not found.", one that is not a script object
    // the dotted name + " not found or invalid.".
    value::TtsValue Execute();

  private:
    TtsResult& rootContext_;
    value::Ref<front::TtsObjectNode> object_;
    std::string dottedMethod_;
    front::TtsExpressions arguments_;
};

} // namespace ozra::runtime
