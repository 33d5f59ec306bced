// Conversions of values to truth values, numbers and text.
//
// They follow the variant rules: Empty reads as false, 0 or the empty text;
// Null and object references cannot be converted; text is parsed. Failures
// raise `EtsRuntime` with "Could not convert variant of type (X) into type
// (Y)" (X and Y from KindName), or the range error when a number does not fit.
//
// Text forms (see number_text.h for the exact rules): integers in plain
// decimal; floating point in the shortest form that reads back to the same
// number ("12.5", "0.1", "1E+20"); currency with up to four decimals; dates as
// "yyyy-mm-dd hh:nn:ss", or "yyyy-mm-dd" when there is no time of day;
// booleans "True" and "False".
#pragma once

#include "value/value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ozra::value {

// The type name of a kind as used in conversion messages: "Empty", "Null",
// "Int16", "Integer", "Single", "Double", "Currency", "Date", "WideString",
// "Automation", "Object", "Boolean", "Int8", "Byte", "Word", "UInt32",
// "Int64", "String".
std::string_view KindName(ValueKind kind) noexcept;

bool ToBoolean(const TtsValue& value);
// Rounds floating point, currency and dates to the nearest integer (halves
// to the even neighbour); outside the signed 32-bit range is a range error.
std::int32_t ToInteger(const TtsValue& value);
// The same rules for the signed 64-bit range.
std::int64_t ToInt64(const TtsValue& value);
double ToDouble(const TtsValue& value);
std::string ToText(const TtsValue& value);
// The value as a text value; a text value is shared, not copied.
TtsValue ToTextValue(const TtsValue& value);

} // namespace ozra::value
