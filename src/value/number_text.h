// Reading numbers from text and writing numbers and dates as text.
//
// Reading accepts ASCII blanks around the number, an optional sign and
// decimal digits; floating point also takes a fraction and an exponent
// ("1.5e3"). No locale: the decimal separator is always ".".
//
// Writing:
//   - floating point: the shortest digits that read back to the same double
//     (or float for Single); plain notation when the decimal exponent is in
//     -5..14 ("0.0001", "12.5", "100000000000000"), otherwise "d.dddE+xx"
//     ("1E+20", "1.5E-7"); "NaN", "INF", "-INF";
//   - currency: up to four decimals, trailing zeros dropped ("12.5");
//   - dates: "yyyy-mm-dd hh:nn:ss", or "yyyy-mm-dd" when the time of day is
//     zero; a negative date keeps its day and reads its fraction as the
//     time of that day (the variant habit). Dates outside years 100 to 9999
//     have no text form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ozra::value {

std::optional<std::int32_t> ParseInt32(std::string_view text) noexcept;
std::optional<double> ParseDouble(std::string_view text) noexcept;

std::string FormatDouble(double value);
std::string FormatSingle(float value);
std::string FormatCurrency(std::int64_t scaled);
// nullopt when the date has no text form.
std::optional<std::string> FormatDate(double daysSince18991230);

} // namespace ozra::value
