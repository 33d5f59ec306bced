// A text picture of a syntax tree, for tests and the runner's --dump-tree.
//
// One node per line, children indented by two spaces and introduced by their
// role ("Condition: ", "Body: ", "Arg: " ...); statements of a block follow
// it without a role. Each line holds the class name and the meaningful
// fields: names, keywords, operator codes, constants, texts (quoted and
// escaped), the source span of statements ("@position+length") and of the
// statement that closed a control ("end@position+length"), and the names
// declared in a block.
//
// A tree nested deeper than `MaxDumpDepth` levels is refused with «syntax
// tree nested more than N levels deep.»: its picture would grow with the
// square of the depth (a sum of 80,000 terms would take gigabytes).
#pragma once

#include "front/syntax_node.h"

#include <string>

namespace ozra::front {

inline constexpr int MaxDumpDepth = 10000;

std::string DumpTree(const TtsNode& node);

} // namespace ozra::front
