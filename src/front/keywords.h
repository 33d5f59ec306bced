// The spellings of the language's keywords and operators.
//
// Two sorted tables, searched with exact, case-sensitive comparison: 64 keyword
// spellings (including the reserved words, which no grammar rule uses) and 60
// operator and punctuation spellings. Several spellings share one token kind
// ("div" and "mod", "*" and "%"); the token's text keeps the spelling so that
// the tree builder can tell them apart. The scanner and the syntax
// highlighter both use these lookups, so the two always agree on what a
// keyword is.
#pragma once

#include <string_view>

#include "front/token.h"

namespace ozra::front {

// The kind of the keyword spelled `word`: a parser keyword kind,
// `TokenKind::Reserved` for a reserved word, or `TokenKind::Ident` when
// `word` is no keyword ("If" and "TRUE" are identifiers).
TokenKind LookupKeyword(std::string_view word);

// The kind of the operator or punctuation spelled `text`, or
// `TokenKind::Error` when no operator is spelled so ("=>", "=-", "...").
TokenKind LookupOperator(std::string_view text);

} // namespace ozra::front
