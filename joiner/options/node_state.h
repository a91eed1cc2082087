// The node work's counters. The next free node mslink is the run
// configuration's nodeNextOcc: read from the environment at start, it grows
// with every node placed and goes back to the catalog at the finish.
#pragma once

#include <cstdint>

namespace vornel::joiner {

struct NodeState {
  std::int32_t nodes_placed = 0;
  std::int32_t rows_updated = 0;
};

}  // namespace vornel::joiner
