// The nodes a node owns, for walks over a whole tree that must not recurse
// (a tree may be nested deeper than the machine stack allows).
#pragma once

#include "front/syntax_tree.h"

#include <functional>

namespace ozra::front {

// Calls `visit` for each node `node` owns through its fields and lists:
// operands, arguments, conditions, bodies, branches, statements, and the
// block of a used unit (which several statements may share). Not the
// entries of name tables, which are owned where they are also statements or
// hold no nodes of their own.
void ForEachChild(TtsNode& node, const std::function<void(TtsNode&)>& visit);

} // namespace ozra::front
