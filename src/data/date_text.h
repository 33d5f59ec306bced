// Date-time values as the data layer writes and reads them in text:
// "yyyy-mm-dd hh:nn:ss", days since 1899-12-30 as in the value model.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ozra::data {

// Always with the time of day; nullopt for a date outside years 100 to 9999.
std::optional<std::string> FormatDateTime(double days);

// Reads "yyyy-mm-dd", "yyyy-mm-dd hh:nn" or "yyyy-mm-dd hh:nn:ss" (a "T"
// may stand for the space; seconds may carry a fraction, as databases write
// them); nullopt for anything else or an invalid date.
std::optional<double> ParseDateTime(std::string_view text);
// Reads "hh:nn" or "hh:nn:ss[.fff]" as the time of day on 1899-12-30 (the
// fraction of a day); nullopt for anything else.
std::optional<double> ParseTimeOfDay(std::string_view text);

} // namespace ozra::data
