// The callbacks through which a parse talks back to its compile driver.
//
// The tree builder calls them: `OnNode` after a statement joined the tree,
// `OnNodeEnd` after a control was closed, `OnError` for every syntax or
// structure error, and `OnLoadFile` to compile a file named by a "using" or
// "file" head; `OnCall` tells a checker of every call of a plain name. An
// exception raised by a callback leaves the parse.
#pragma once

#include "front/statement_nodes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ozra::front {

class TtsControl;
class TtsVarRef;

struct ParserCallbacks {
    // May be empty.
    std::function<void(TtsStatement&)> OnNode;
    // May be empty.
    std::function<void(TtsControl&)> OnNodeEnd;
    // An empty message stands for "Syntax error".
    std::function<void(std::int32_t position, std::int32_t length, const std::string& message)>
        OnError;
    // May be empty: included files then stay empty. May answer null (a unit
    // still being compiled).
    FileLoader OnLoadFile;
    // May be empty. A call «name(...)» was built; `position` is the name's.
    std::function<void(TtsVarRef& callee, std::int32_t position)> OnCall;
};

} // namespace ozra::front
