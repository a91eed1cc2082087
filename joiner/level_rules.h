// How options replace levels and sizes that a design file cannot take.
#pragma once

#include <cstdint>

namespace vornel::joiner {

inline constexpr int kTopLevel = 63;  // design files have levels 1..63

constexpr bool is_level(long long n) { return n >= 1 && n <= kTopLevel; }

// A level outside 1..63 becomes `fallback`; each option names its own.
constexpr std::int16_t level_or(long long n, std::int16_t fallback) {
  return is_level(n) ? static_cast<std::int16_t>(n) : fallback;
}

// A size of 0 or less becomes `fallback`.
constexpr double positive_or(double size, double fallback) { return size > 0 ? size : fallback; }

}  // namespace vornel::joiner
