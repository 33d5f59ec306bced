// The one-character operator codes the tree builder stores in operator and
// case nodes, and the codes of assignment operators.
//
// Several spellings share one code ("mod" and "%", "<>" and "!="); the
// runtime's operator table gives each code its meaning.
#pragma once

#include <string_view>

namespace ozra::front {

// The code of an operator token's text. Spellings outside the table follow
// a fallback: one character gives itself; two equal characters, or two
// characters ending in '=', '?', '^' or '~', give the first; anything else
// gives 0, which no operator has.
char OperatorCode(std::string_view text) noexcept;

// 0 for a plain assignment (text starting with ':' or '='), else the first
// character: "+=" and "++" give '+', "--" gives '-'.
char AssignCode(std::string_view text) noexcept;

} // namespace ozra::front
