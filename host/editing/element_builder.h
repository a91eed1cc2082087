#pragma once
// Builds complete element records from geometry and a placement: the memory
// form (as clients receive it) and the file form (as it is written).

#include "client/records/element_header.hpp"
#include "client/records/record_builder.hpp"
#include "host/editing/geometry.h"
#include "host/editing/placement.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vornel::host::editing {

// The limit of the vertex elements (line string, shape, curve, pole element).
inline constexpr std::size_t kMaxVertices = 101;
// Curves store two extrapolated control points at each end of the points given.
inline constexpr std::size_t kCurveControlPoints = 2;
inline constexpr std::size_t kMaxCurvePoints = kMaxVertices - 2 * kCurveControlPoints;
inline constexpr std::size_t kMaxTextCharacters = 255;
inline constexpr std::size_t kMaxBsplinePoles = 101;

struct BuiltElement {
  std::vector<std::uint8_t> memory;
  std::vector<std::uint8_t> file;
  Box range;
};

// Result of a build: 0 and the element(s), or a status of the table.
struct BuildResult {
  int status = 0;
  std::vector<BuiltElement> elements;  // a B-spline: header, then its components
};

struct EllipseGeometry {
  double primary = 0;
  double secondary = 0;
  std::array<double, 3> origin{};
  double rotation_degrees = 0;              // 2-D
  std::array<double, 9> matrix{1, 0, 0, 0, 1, 0, 0, 0, 1};  // 3-D, row-major
};

struct TextGeometry {
  std::int32_t width = 0;   // character size in UOR
  std::int32_t height = 0;
  int font = 0;
  int justification = 0;
  double rotation_degrees = 0;
  Point origin;
  std::string_view characters;
};

struct BsplineGeometry {
  int curve_type = 0;  // 0-7
  int order = 2;       // 2-15
  bool closed = false;
  std::vector<Point> poles;
  std::vector<double> weights;  // empty, or one per pole
  std::vector<double> knots;    // interior knots, 0..1; empty: uniform
};

BuildResult build_line(const Placement& placement, const Point& start, const Point& end,
                       client::Dimension dimension);
// Types 4 (line string), 6 (shape) and 21 (pole element).
BuildResult build_vertex_element(int type, const Placement& placement, std::span<const Point> vertices,
                                 client::Dimension dimension);
// Type 11: the points given, with two control points extrapolated at each end.
BuildResult build_curve(const Placement& placement, std::span<const Point> points, client::Dimension dimension);
BuildResult build_ellipse(const Placement& placement, const EllipseGeometry& ellipse, client::Dimension dimension);
BuildResult build_text(const Placement& placement, const TextGeometry& text, client::Dimension dimension);
// A text of a three-dimensional file turned by a row-major 3 x 3 matrix (its
// rotation_degrees is not used).
BuildResult build_text(const Placement& placement, const TextGeometry& text, const std::array<double, 9>& matrix);
// A text node header followed by one text component (none for no characters).
BuildResult build_text_node(const Placement& placement, const TextGeometry& text, std::int32_t line_spacing,
                            std::uint16_t node_number, client::Dimension dimension);
BuildResult build_bspline(const Placement& placement, const BsplineGeometry& curve, client::Dimension dimension);
// Complex chain (12) or shape (14) header with no components yet.
BuildResult build_complex_header(int type, const Placement& placement, client::Dimension dimension);

// Complex header layout and the range helpers of the records library.
using client::kComplexCountOffset;
using client::kComplexTotalLengthOffset;
using client::kComplexUncountedWords;
using client::record_range;
using client::set_record_range;

}  // namespace vornel::host::editing
