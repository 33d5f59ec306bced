// The last step of loading a compiled stream: the objects of the tree are
// linked as the stream records, and each node gets what the builder derives
// when it makes one, so that a loaded tree runs exactly like a parsed one.
//
// Every link checks the class of what it names (a condition must be an
// expression, a body a block, a statement list a list of statements), and a
// node that lacks a part the builder always makes (a control's body, an
// operator's operand, a loop's variable) is refused, so the runtime never
// meets a tree the builder could not have made.
#pragma once

#include "compiled/stream_decoder.h"
#include "compiled/stream_graph.h"

namespace ozra::compiled {

// The root block of the tree; raises `EtsCompiler` (or the name table's
// "already exists." error) for a stream that makes no sound tree.
value::Ref<front::TtsBlock> LinkTree(DecodedStream& stream, const TreeShape& shape);

} // namespace ozra::compiled
