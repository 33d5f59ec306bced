// Writing and reading the data layer's date-time text.
#include "data/date_text.h"

#include "value/number_text.h"

#include <charconv>

namespace ozra::data {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian calendar).
long DaysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

bool IsLeap(long y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned DaysInMonth(long y, unsigned m) {
    static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

bool ReadNumber(std::string_view& text, size_t digits, unsigned& out) {
    if (text.size() < digits) return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + digits, out);
    if (error != std::errc() || end != text.data() + digits) return false;
    text.remove_prefix(digits);
    return true;
}

bool ReadChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

} // namespace

std::optional<std::string> FormatDateTime(double days) {
    std::optional<std::string> text = value::FormatDate(days);
    if (text && text->size() == 10) *text += " 00:00:00";
    return text;
}

std::optional<double> ParseDateTime(std::string_view text) {
    unsigned year, month, day;
    if (!ReadNumber(text, 4, year) || !ReadChar(text, '-') || !ReadNumber(text, 2, month) ||
        !ReadChar(text, '-') || !ReadNumber(text, 2, day))
        return std::nullopt;
    double time = 0;
    if (!text.empty()) {
        if (!ReadChar(text, ' ') && !ReadChar(text, 'T')) return std::nullopt;
        std::optional<double> parsed = ParseTimeOfDay(text);
        if (!parsed) return std::nullopt;
        time = *parsed;
    }
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    const double wholeDays =
        static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30));
    // Before the epoch the day counts down but the time of day still reads
    // forward, the variant habit.
    return wholeDays < 0 ? wholeDays - time : wholeDays + time;
}

std::optional<double> ParseTimeOfDay(std::string_view text) {
    unsigned hour, minute, second = 0;
    if (!ReadNumber(text, 2, hour) || !ReadChar(text, ':') || !ReadNumber(text, 2, minute))
        return std::nullopt;
    double fraction = 0;
    if (!text.empty()) {
        if (!ReadChar(text, ':') || !ReadNumber(text, 2, second)) return std::nullopt;
        if (ReadChar(text, '.')) {
            if (text.empty()) return std::nullopt;
            double scale = 0.1;
            for (char c : text) {
                if (c < '0' || c > '9') return std::nullopt;
                fraction += (c - '0') * scale;
                scale /= 10;
            }
            text = {};
        }
        if (!text.empty()) return std::nullopt;
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return (hour * 3600.0 + minute * 60.0 + second + fraction) / 86400.0;
}

} // namespace ozra::data
