// Number rules shared by every layer: banker's rounding, truncating division and
// conversions that stay defined for any double a settings file can hold.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace ratiscope {

// The golden factor 1/phi, default ratio and the fixed ratio of looks 3, 4 and 13.
inline constexpr double kGoldenFactor = 0.6180339887498949;

// Rounds to the nearest integer, halves to the even neighbour (244.5 -> 244,
// 229.5 -> 230). Values beyond the 32-bit range saturate and NaN gives 0, so a
// hostile ratio can never turn into undefined behaviour.
inline std::int32_t RoundToInt(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (v <= lo) return std::numeric_limits<std::int32_t>::min();
    if (v >= hi) return std::numeric_limits<std::int32_t>::max();
    // nearbyint honours the default round-to-nearest-even mode.
    return static_cast<std::int32_t>(std::nearbyint(v));
}

}  // namespace ratiscope
