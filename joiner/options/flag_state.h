// What the diagnostic flags keep between placements.
#pragma once

#include <cstdint>

namespace vornel::joiner {

struct FlagState {
};

}  // namespace vornel::joiner
