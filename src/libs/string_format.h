// The text formatting of the string library's `Format`.
//
// A directive is "%" [index ":"] ["-"] [width] ["." precision] type, where
// index, width and precision are decimal numbers or "*" (the next value);
// an index picks the value the directive and its followers start from; "-"
// left-justifies within the width; "%%" writes "%". Types (any letter case):
// d u x e f g n m p s. A directive that does not fit its value fails with
// "Format '%s' invalid or incompatible with argument", one with no value
// left with "No argument for format '%s'" (the whole format in place of %s).
// Widths and precisions above `MaxWidth` count as invalid, so a hostile
// format cannot ask for gigabytes.
#pragma once

#include "value/value.h"

#include <span>
#include <string>
#include <string_view>

namespace ozra::libs {

inline constexpr int MaxFormatWidth = 1 << 20;

std::string FormatValues(std::string_view format, std::span<const value::TtsValue> values);

} // namespace ozra::libs
