// Rounding of floating point and currency to integers, halves to the even
// neighbour, with explicit range checks so that no conversion is undefined.
// Shared by the conversions and the integer operators.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace ozra::value {

inline double RoundHalfEven(double x) noexcept {
    const double nearest = std::round(x);
    if (std::fabs(x - std::trunc(x)) == 0.5) return 2.0 * std::round(x / 2.0);
    return nearest;
}

// The rounded number, or nullopt when it is outside the 64-bit range or NaN.
inline std::optional<std::int64_t> RoundToInt64(double x) noexcept {
    const double rounded = RoundHalfEven(x);
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

inline std::int64_t RoundCurrency(std::int64_t scaled) noexcept {
    std::int64_t whole = scaled / 10000;
    const std::int64_t rest = scaled % 10000;
    const std::int64_t magnitude = rest < 0 ? -rest : rest;
    if (magnitude > 5000 || (magnitude == 5000 && whole % 2 != 0)) whole += rest < 0 ? -1 : 1;
    return whole;
}

} // namespace ozra::value
