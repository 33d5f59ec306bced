// Script text (UTF-8) to and from the C library's wide characters.
//
// On Linux `wchar_t` is 32 bits and holds one Unicode code point, so a wide
// string is UTF-32. Conversions never fail: a byte that does not start a
// well-formed UTF-8 sequence, and a wide character that is not a Unicode
// scalar value (a surrogate, or above U+10FFFF), each become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace ozra::libs {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

} // namespace ozra::libs
