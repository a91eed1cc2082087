// Geometry that the extractors get from operations of the client library and
// the toolkit: arcs and curves stroked and B-spline curves stroked by the
// design host, complex chains expanded into vertices. The extractors do not
// report stroke statuses: an element's points are what the stroke gave.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "extractors/common/element_points.h"

namespace vornel::extract {

struct StrokeTolerances {
  double arc = -1.0;  // -1.0: the host's default
  double bspline = -1.0;
  double curve = -1.0;
};

// A complex chain (12) at `header_position` expanded into its vertices.
int expand_complex_chain(std::span<const std::uint8_t> header, std::int32_t header_position,
                         int dimension, bool stroke_curves, const StrokeTolerances& tolerances,
                         std::vector<Vertex>& out);

// An arc (16) or a curve (11) stroked with `tolerance`.
int stroke_arc_or_curve(std::span<const std::uint8_t> element, double tolerance, int dimension,
                        std::vector<Vertex>& out);

// One stroke of a B-spline curve: returns 0 and fills `out`, or a status.
using BsplineStroke = std::function<int(double tolerance, std::vector<Vertex>& out)>;

// Strokes a B-spline curve and retries as long as the stroke gives no
// vertex or 1,023 or more: a tolerance that is not positive (the host's
// default -1.0 among them) first becomes 2.5, then the tolerance grows by a
// quarter per try (while the count is too large, or zero with the tolerance
// below 1,000,000), at most 200 tries.
int stroke_with_retries(const BsplineStroke& stroke, double tolerance, std::vector<Vertex>& out);

// A B-spline curve (27) with its pole, knot and weight components.
int stroke_bspline_curve(std::span<const std::uint8_t> header,
                         std::span<const std::span<const std::uint8_t>> components,
                         double tolerance, int dimension, std::vector<Vertex>& out);

}  // namespace vornel::extract
