// Number and date text forms; the rules are in number_text.h.
#include "value/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace ozra::value {

namespace {

bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view TrimBlanks(std::string_view text) noexcept {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// Writes the shortest round-trip digits of a finite, non-zero number in the
// form the header describes.
template <class Float> std::string FormatFloat(Float value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // Shortest scientific form, e.g. "-1.25e+20".
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t ePos = scientific.find('e');
    std::string_view mantissa = scientific.substr(0, ePos);
    int exponent = 0;
    std::from_chars(scientific.data() + ePos + (scientific[ePos + 1] == '+' ? 2 : 1),
                    scientific.data() + scientific.size(), exponent);

    std::string text;
    if (mantissa.front() == '-') {
        text += '-';
        mantissa.remove_prefix(1);
    }
    std::string digits;
    for (char c : mantissa) {
        if (c != '.') digits += c;
    }

    if (exponent < -5 || exponent > 14) {
        text += digits[0];
        if (digits.size() > 1) text.append(".").append(digits, 1);
        text += 'E';
        text += exponent < 0 ? '-' : '+';
        text += std::to_string(std::abs(exponent));
        return text;
    }
    if (exponent < 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
        return text;
    }
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
        text += digits;
        text.append(integerDigits - digits.size(), '0');
    } else {
        text.append(digits, 0, integerDigits).append(".").append(digits, integerDigits);
    }
    return text;
}

struct CivilDate {
    long long year;
    unsigned month;
    unsigned day;
};

// Days since 1970-01-01 to a proleptic Gregorian date.
CivilDate CivilFromDays(long long days) noexcept {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    const long long year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

// Day numbers of 0100-01-01 and 9999-12-31 counted from 1899-12-30.
constexpr double FirstDate = -657434.0;
constexpr double LastDate = 2958466.0;
constexpr long long DaysFrom1970To18991230 = -25569;

} // namespace

std::optional<std::int32_t> ParseInt32(std::string_view text) noexcept {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> ParseDouble(std::string_view text) noexcept {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits and a decimal point may start a number: this keeps out
    // "inf", "nan" and a second sign, which from_chars would take.
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.')) return std::nullopt;
    double value = 0;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return negative ? -value : value;
}

std::string FormatDouble(double value) {
    return FormatFloat(value);
}

std::string FormatSingle(float value) {
    return FormatFloat(value);
}

std::string FormatCurrency(std::int64_t scaled) {
    // Work on the magnitude as unsigned so that the smallest amount is safe.
    const bool negative = scaled < 0;
    const std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(scaled)
                                             : static_cast<std::uint64_t>(scaled);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 10000);
    unsigned fraction = static_cast<unsigned>(magnitude % 10000);
    if (fraction != 0) {
        char digits[5];
        std::snprintf(digits, sizeof digits, "%04u", fraction);
        std::string_view decimals(digits, 4);
        while (decimals.back() == '0')
            decimals.remove_suffix(1);
        text.append(".").append(decimals);
    }
    return text;
}

std::optional<std::string> FormatDate(double daysSince18991230) {
    if (!(daysSince18991230 >= FirstDate && daysSince18991230 < LastDate)) return std::nullopt;
    const double wholeDays = std::trunc(daysSince18991230);
    long long day = static_cast<long long>(wholeDays);
    long long seconds = std::llround(std::fabs(daysSince18991230 - wholeDays) * 86400.0);
    if (seconds == 86400) {
        ++day;
        seconds = 0;
    }
    const CivilDate date = CivilFromDays(day + DaysFrom1970To18991230);
    if (date.year < 100 || date.year > 9999) return std::nullopt;

    char buffer[32];
    int length =
        std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", date.year, date.month, date.day);
    if (seconds != 0) {
        length +=
            std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length),
                          " %02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace ozra::value
