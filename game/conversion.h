#pragma once

#include <cstdint>
#include <optional>

namespace quorvale {

// Single to 16-bit Integer: to the nearest whole number, halves to the even one. A value that
// does not fit (NaN included) has no Integer; the caller treats that as an overflow.
constexpr std::optional<std::int16_t> roundToInteger(float value)
{
    const double v = value;
    if (!(v >= -32769.0 && v <= 32768.0))
        return std::nullopt;
    double whole = static_cast<double>(static_cast<long>(v));
    if (whole > v)
        whole -= 1.0; // floor, for negative fractions
    const double fraction = v - whole;
    const bool odd = static_cast<long>(whole) % 2 != 0;
    if (fraction > 0.5 || (fraction == 0.5 && odd))
        whole += 1.0;
    if (whole < -32768.0 || whole > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

} // namespace quorvale
