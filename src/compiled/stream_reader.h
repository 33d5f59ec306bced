// Loading a syntax tree from its compiled stream.
//
// The reader follows the stream as it was written: a block's own part
// names objects by number, and a number not yet met is the object of the
// next block, read there and then (its own new objects following it). Deep
// trees make deep nesting, so the blocks being read are kept on a stack of
// their own rather than on the machine's. Each node is made bare and linked
// as its fields are read, every link checking the class of what it names;
// containers fill the field of the node that holds them directly. The shape
// of the result is checked at the end (loaded_shape.h), then each node gets
// what the builder derives when it makes one (the holders of used units, a
// function's own variables, a call's argument kind), and a node that lacks
// a part the builder always makes (a control's body, an operator's operand,
// a loop's variable) is refused. A loaded tree runs exactly like a parsed
// one, only without source positions.
//
// A stream that fails raises `EtsCompiler` (or a name table's "already
// exists." error) with everything it made unlinked and freed.
#pragma once

#include "front/syntax_tree.h"

#include <span>

namespace ozra::compiled {

// The tree of the stream that ends `bytes` (anything before its header is
// an ignored prefix). Scrambled blocks are restored in place.
value::Ref<front::TtsBlock> ReadTree(std::span<char> bytes);

} // namespace ozra::compiled
