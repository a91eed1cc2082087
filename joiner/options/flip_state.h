// What the direction flips keep between a node scan and the write of its
// chain.
#pragma once

#include <array>
#include <cstdint>

namespace vornel::joiner {

struct FlipState {
  // A dangling record of the first line pass whose chain is about to be
  // written: that chain is turned to end at the dangle point. Kept apart
  // from the configured flip mode, which the other chains still follow.
  bool dangle_armed = false;
  std::array<std::int32_t, 2> dangle_point{};
};

}  // namespace vornel::joiner
