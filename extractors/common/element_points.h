// The points an extractor takes from one element in memory form: the origin
// of a point-like element, the end points of a line, the vertices of a line
// string, shape or curve.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vornel::extract {

struct Vertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  friend bool operator==(const Vertex&, const Vertex&) = default;
};

enum class PointsResult {
  ok,          // `out` holds the points, first to last
  other_kind,  // arcs, curves to stroke, complex chains, B-splines: not read here
  malformed    // the record is too short for what its counts say
};

// Cell header (2), text node (7), text (17): the origin. Ellipse (15): the
// centre, truncated toward zero. Line (3): both end points. Line string (4),
// shape (6): every vertex. Curve (11): the vertices without the two leading
// and two trailing control points, when `curve_by_vertices`; otherwise it is
// a curve to stroke. `out` is cleared first and reused by the caller so a
// scan of millions of elements allocates once.
PointsResult read_element_points(std::span<const std::uint8_t> element, int dimension,
                                 bool curve_by_vertices, std::vector<Vertex>& out);

// Whether the type gives a single point (cell header, text node, ellipse, text).
bool is_point_like(int type);

}  // namespace vornel::extract
