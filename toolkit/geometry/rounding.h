// Conversions from floating coordinates back to integer design-file units.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace vornel::toolkit {

// Rounds half away from zero (0.5 is added to a non-negative value and
// subtracted from a negative one, then truncated). Values beyond the 32-bit
// range saturate instead of invoking undefined conversion; NaN gives 0.
inline int32_t round_half_away(double value) {
    if (std::isnan(value)) return 0;
    const double shifted = value >= 0.0 ? value + 0.5 : value - 0.5;
    if (shifted >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (shifted <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(shifted);
}

// Truncates toward zero with the same saturation as round_half_away.
inline int32_t truncate_to_int32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace vornel::toolkit
