// What the direction flips keep between a node scan and the write of its
// chain.
#pragma once

#include <cstdint>

namespace vornel::joiner {

struct FlipState {
};

}  // namespace vornel::joiner
