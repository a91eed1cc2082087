// Intersection of two segments, with a status that tells how the
// intersection lies relative to each of them.
#pragma once

#include <cstdint>

namespace vornel::toolkit {

// Writes the intersection of the lines through a1-a2 and b1-b2 to result
// (x, y) and its relation to the two segments to status:
//   negative: (nearly) parallel; the result is the midpoint of the closest
//             pair of endpoints. -1/-2 parallel/nearly parallel, minus 10
//             (collinear) or 20 (nearly collinear) when the intercepts agree.
//   otherwise a two-digit code: tens digit for segment 2 and units digit for
//   segment 1, each 2 = outside, 1 = strictly inside, 0 = at an endpoint.
// A nonzero debug flag prints traces.
void intersect(const int32_t* a1, const int32_t* a2, const int32_t* b1, const int32_t* b2,
               int32_t* result, int16_t* status, int16_t debug);

}  // namespace vornel::toolkit
