// The joiner's one process-wide switch: diagnostic printing.
// 0 off, 1 on, 2 on while the command line is read because -Q occurs in it.
// It is the only state shared across the joiner's code; every trace asks it.
#pragma once

#include <cstdint>

namespace vornel::joiner {

inline std::int16_t diag = 0;

}  // namespace vornel::joiner
