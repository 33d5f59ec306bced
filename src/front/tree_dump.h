// A text picture of a syntax tree, for tests and the runner's --dump-tree.
//
// One node per line, children indented by two spaces and introduced by their
// role ("Condition: ", "Body: ", "Arg: " ...); statements of a block follow
// it without a role. Each line holds the class name and the meaningful
// fields: names, keywords, operator codes, constants, texts (quoted and
// escaped), the source span of statements ("@position+length") and of the
// statement that closed a control ("end@position+length"), and the names
// declared in a block.
#pragma once

#include "front/syntax_node.h"

#include <string>

namespace ozra::front {

std::string DumpTree(const TtsNode& node);

} // namespace ozra::front
