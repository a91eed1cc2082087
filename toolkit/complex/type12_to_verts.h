// Expanding a complex chain of the design file into one vertex array.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// Largest number of vertices one expanded chain can report (16-bit count).
inline constexpr int32_t kMaxExpandedVertices = 32767;

// Reads the components that follow the complex chain header `header` (memory
// form, as read at header_position) through the design host and joins them
// into one chain in `out` (stride = dimension); *out_count receives the
// number of vertices. Arcs, B-spline curves and, when stroke_curves is
// nonzero, curves are stroked with their tolerance (-1.0: the host's
// default). Each component is turned to continue where the chain so far
// ends; small gaps and overlaps are mended at the intersection of the end
// segments. A component that cannot be read ends the program with status 97.
// Returns 0, or 1 when the chain did not fit `out` and was cut at its end.
int type12toVerts(std::span<const uint16_t> header, int32_t header_position, std::span<int32_t> out,
                  int16_t* out_count, int16_t dimension, int16_t stroke_curves, double arc_tolerance,
                  double bspline_tolerance, double curve_tolerance, int16_t debug);

}  // namespace vornel::toolkit
