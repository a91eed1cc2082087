// The vertices of one component of a complex chain.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/complex/chain_vertices.h"

namespace vornel::toolkit::complex {

struct StrokeTolerances {
    double arc;
    double bspline;
    double curve;
};

// Vertices of a line, line string or curve (memory form), or of an arc or a
// curve stroked by the design host. Other types give no vertices. Counts
// beyond what the record holds are cut to the record.
Vertices element_vertices(std::span<const uint16_t> element, int16_t dimension, bool stroke_curves,
                          const StrokeTolerances& tolerances, int16_t debug);

// Strokes a B-spline curve (header, then its pole, knot and weight parts),
// stroking again with a coarser tolerance while the result is empty or too
// long for the stroke buffer.
Vertices bspline_vertices(std::span<const uint16_t* const> parts, int16_t dimension, double tolerance,
                          int16_t debug);

}  // namespace vornel::toolkit::complex
