// Numbers of the game language: every number is a double; commands that need an integer truncate
// toward zero. Game code may hand over anything, so the conversion never has undefined behaviour:
// not-a-number gives 0 and values beyond the int range are clamped to it.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

inline int toInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT_MAX;
    if (value <= -2147483648.0) return INT_MIN;
    return int(value);
}

// Truncation to 32 bits as a cast of the integer part would do (used where the value wraps, not clamps).
inline uint32_t toUint32Wrapping(double value)
{
    if (!std::isfinite(value)) return 0;
    double whole = std::trunc(std::fmod(value, 4294967296.0));
    if (whole < 0) whole += 4294967296.0;
    return uint32_t(whole);
}
