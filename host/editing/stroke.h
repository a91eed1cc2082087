#pragma once
// Stroking: arcs, ellipses, curves and B-spline curves turned into vertices
// that stay within a chord tolerance of the true curve.

#include "client/records/element_header.hpp"
#include "host/editing/geometry.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vornel::host::editing {

struct StrokeResult {
  int status = 0;
  std::vector<Point> vertices;
};

// Most chords one element may be cut into, whatever the tolerance.
inline constexpr std::size_t kMaxStrokeVertices = 100000;

// A tolerance of 0 or below (or not a number) takes a default of a
// thousandth of the element's size, at least one UOR.
double effective_tolerance(double tolerance, double element_size);

// Arc (16), ellipse (15), curve (11); lines, line strings and shapes give
// their own vertices. `memory` is the memory-form record.
StrokeResult stroke_element(std::span<const std::uint8_t> memory, double tolerance, client::Dimension dimension);

// A B-spline curve: the header (27) and its pole (21), knot (26) and weight
// (28) components, in any order after the header.
StrokeResult stroke_bspline(std::span<const std::span<const std::uint8_t>> parts, double tolerance,
                            client::Dimension dimension);

}  // namespace vornel::host::editing
