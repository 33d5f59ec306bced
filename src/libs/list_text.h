// The text forms of string and property lists.
//
// Line text: every string followed by CR LF. Reading splits at CR, LF or
// CR LF; a last line without a break counts; empty text gives no lines.
//
// Delimited text, with a one-character delimiter and the quote '"':
//   - writing quotes a string that holds a character of code 32 or less,
//     the quote or the delimiter (inner quotes doubled); a list of one
//     empty string is written as "";
//   - reading skips blanks (codes 1 to 32), then repeatedly reads a quoted
//     string or the characters up to the delimiter or a blank, skips blanks
//     and steps over one delimiter and the blanks after it. A delimiter at
//     the very end adds one empty string, so unquoted blanks also separate
//     strings.
#pragma once

#include "value/string_list.h"

#include <string>
#include <string_view>

namespace ozra::libs {

std::string LineText(const value::TStringListEx& list);
void SetLineText(value::TStringListEx& list, std::string_view text);
std::string DelimitedText(const value::TStringListEx& list, char delimiter);
void SetDelimitedText(value::TStringListEx& list, std::string_view text, char delimiter);

} // namespace ozra::libs
