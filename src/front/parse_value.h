// The value of one grammar symbol on the parser's stack.
//
// Every token and every reduced rule carries its source span, its text and
// what the tree builder made of it: a node, or a list of expressions for
// argument, range and parameter lists (formal parameters are
// `TtsFsVariable` nodes). The parser copies values freely; nodes are shared
// through counted references, so a value dropped during error recovery frees
// whatever only it held.
#pragma once

#include "front/syntax_node.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ozra::front {

struct ParseValue {
    // 1-based source offset of the first character covered.
    std::int32_t Position = 0;
    std::int32_t Length = 0;
    // Token text (string literal content, keyword spelling, ...).
    std::string Text;
    // Node built by the rule (statement, expression, ...).
    Ref<TtsNode> Node;
    std::vector<Ref<TtsExpression>> Items;
};

} // namespace ozra::front
