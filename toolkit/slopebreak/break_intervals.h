// The slope classes a chain is cut by.
#pragma once

#include <array>
#include <cstdint>

namespace vornel::toolkit {

inline constexpr int kMaxBreakIntervals = 10;

// Slope-break intervals, counted from 0. Slopes and limits are in percent,
// minimum lengths in UOR.
struct BreakIntervals {
    int16_t brk_count = 0;
    std::array<float, kMaxBreakIntervals> brk_min_pct{};
    std::array<float, kMaxBreakIntervals> brk_max_pct{};
    std::array<float, kMaxBreakIntervals> brk_limit{};
    std::array<double, kMaxBreakIntervals> brk_min_len{};
};

}  // namespace vornel::toolkit
