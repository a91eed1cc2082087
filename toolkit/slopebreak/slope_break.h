// Cutting a three-dimensional chain into pieces of one slope class.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/slopebreak/break_intervals.h"

namespace vornel::toolkit {

// Finds where the first piece of the remaining chain vertices[0 .. last_index]
// (x, y, z, stride 3) ends: writes that vertex's index to *break_index and
// the piece's slope class to *slope_class. The caller writes vertices
// 0 .. *break_index and calls again from the break index on.
// *break_index is always at least 1 for a chain with a segment, so the
// caller always advances; a chain of one vertex or none gives last_index.
// Without intervals (brk_count below 1) the remainder is one piece of class
// 0; a count above kMaxBreakIntervals uses the first kMaxBreakIntervals. A
// last_index beyond the array is limited to the vertices it holds.
void slope_break(std::span<const int32_t> vertices, int32_t last_index, const BreakIntervals* intervals,
                 int32_t* break_index, int16_t* slope_class, int16_t debug);

}  // namespace vornel::toolkit
