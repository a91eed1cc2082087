#pragma once
// Small pieces the placement operations share.

#include <cstdint>

namespace vornel::operations {

inline std::int32_t mode_pair_value(const std::int16_t* mode_pair) {
  if (mode_pair == nullptr) return 0;
  return static_cast<std::int32_t>(static_cast<std::uint16_t>(mode_pair[0]) |
                                   (static_cast<std::uint32_t>(static_cast<std::uint16_t>(mode_pair[1])) << 16));
}

inline std::int16_t level_value(const std::int16_t* level) { return level != nullptr ? *level : std::int16_t{0}; }

}  // namespace vornel::operations
