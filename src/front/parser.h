// The parser: script text in, syntax tree out.
//
// `TtsParser` runs the scanner and the generated LALR(1) grammar over one
// text and lets the tree builder make the nodes. It talks back to its compile
// driver only through the four callbacks it inherits (`OnNode`, `OnNodeEnd`,
// `OnError`, `OnLoadFile`). Syntax errors are reported and parsing goes on to
// the end of the text; an exception raised by a callback, a builder operation
// or the scanner leaves `Parse` unchanged.
#pragma once

#include <string_view>

#include "front/parser_callbacks.h"
#include "front/syntax_tree.h"

namespace ozra::front {

class TtsParser : public ParserCallbacks {
  public:
    // Parses `text` into `block` (appending to its statements) or, when no
    // block is given, into a new root block, and returns the root.
    value::Ref<TtsBlock> Parse(std::string_view text, value::Ref<TtsBlock> block = {});

    // The root block of the last parse.
    value::Ref<TtsBlock> Block;
};

} // namespace ozra::front
