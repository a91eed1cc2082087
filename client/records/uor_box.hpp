#pragma once
// Points in units of resolution and the range box that every element header
// carries.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vornel::client {

struct UorPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
};

// An axis-aligned box in UOR; empty until something is added. Its corners are
// 64-bit so that sums of coordinates never wrap before they are clamped.
struct UorBox {
  std::int64_t low[3] = {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max(),
                         std::numeric_limits<std::int64_t>::max()};
  std::int64_t high[3] = {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::min(),
                          std::numeric_limits<std::int64_t>::min()};

  bool empty() const { return low[0] > high[0]; }
  void add(std::int64_t x, std::int64_t y, std::int64_t z) {
    const std::int64_t v[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
      low[i] = std::min(low[i], v[i]);
      high[i] = std::max(high[i], v[i]);
    }
  }
  void add(const UorPoint& p) { add(p.x, p.y, p.z); }
  void add(const UorBox& b) {
    if (b.empty()) return;
    add(b.low[0], b.low[1], b.low[2]);
    add(b.high[0], b.high[1], b.high[2]);
  }
  static std::int32_t clamp(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
  }
};

}  // namespace vornel::client
