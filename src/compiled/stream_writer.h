// Writing a syntax tree as a compiled stream (the format is described in
// stream_bytes.h and stream_classes.h).
//
// Objects are numbered 1, 2, 3 ... as they are first met: the root, then,
// field by field, each object a field names for the first time, whose own
// fields are followed before the next field of its referrer. The blocks are
// then written in number order, which puts each object's block before the
// blocks of the objects it names first, as a reader that follows each new
// number to the next block expects. Both passes keep their own stack, so
// a tree of any depth is written.
//
// A tree is written as the builder made it: run-time state (name caches,
// value stacks, results of set expressions, objects under construction) is
// left out, and a loaded tree starts without it like a parsed one. An
// object of a class the stream does not know (a library object held in a
// variable) raises "[class name] not found.".
#pragma once

#include "front/syntax_tree.h"

#include <string>

namespace ozra::compiled {

// The whole stream: header, blocks and trailer. With `scrambled` every
// block's own part is scrambled.
std::string WriteTree(const front::TtsBlock& root, bool scrambled);

} // namespace ozra::compiled
