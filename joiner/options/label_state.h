// The label settings that change during a run and the labels' counters.
#pragma once

#include <cstdint>

namespace vornel::joiner {

struct LabelState {
};

}  // namespace vornel::joiner
