// The node work's counters and the next free node mslink.
#pragma once

#include <cstdint>

namespace vornel::joiner {

struct NodeState {
};

}  // namespace vornel::joiner
