#include "host/editing/element_builder.h"

#include "client/connection/status_codes.h"
#include "host/editing/edit_status.h"
#include "host/editing/rotation.h"

#include <cmath>

namespace vornel::host::editing {

using client::Dimension;
using client::RecordBuilder;

namespace {

client::RecordAttributes attributes_of(const Placement& placement) {
  return {.level = placement.level,
          .graphic_group = placement.graphic_group,
          .properties = static_cast<std::uint16_t>(placement.element_class & 0x0F),
          .style = placement.style,
          .weight = placement.weight,
          .color = placement.color};
}

// Fills the header, appends the linkages and converts to the file form.
// Fails with 905 (vertices) or 921 (linkages) when the file record would
// exceed 768 words.
int finish(RecordBuilder& m, int type, const Placement& placement, const Box& range, bool component,
           BuiltElement& out) {
  client::BuiltRecord record = m.finish(type, component, range, attributes_of(placement), placement.linkages);
  if (record.fault != client::RecordFault::none) {
    const bool linkage_overflow = record.file_bytes - 2 * placement.linkages.size() <= client::kMaxElementBytes;
    return linkage_overflow && !placement.linkages.empty() ? status_code::kMaximumAttrLinkage
                                                           : status_code::kTooManyVertices;
  }
  out.memory = std::move(record.memory);
  out.file = std::move(record.file);
  out.range = range;
  return 0;
}

BuildResult single(RecordBuilder& m, int type, const Placement& placement, const Box& range) {
  BuildResult result;
  BuiltElement element;
  result.status = finish(m, type, placement, range, false, element);
  if (result.status == 0) result.elements.push_back(std::move(element));
  return result;
}

Box box_of(std::span<const Point> points, Dimension dimension) {
  Box box;
  for (Point p : points) {
    if (dimension == Dimension::two) p.z = 0;
    box.add(p);
  }
  return box;
}

// The rotation of a text: in 3-D files the matrix given, else a turn about z.
std::array<double, 9> text_rotation(const TextGeometry& text, const std::array<double, 9>* matrix) {
  return matrix != nullptr ? *matrix : z_rotation(text.rotation_degrees);
}

client::StoredRotation stored_rotation(double degrees, const std::array<double, 9>& matrix, Dimension dimension) {
  client::StoredRotation r;
  if (dimension == Dimension::three) r.quaternion = matrix_to_quaternion(matrix);
  else r.angle = angle_units(degrees);
  return r;
}

client::TextFields text_fields(const TextGeometry& text, Dimension dimension,
                               const std::array<double, 9>* matrix = nullptr) {
  return {.font = text.font,
          .justification = text.justification,
          .width = static_cast<double>(text.width),
          .height = static_cast<double>(text.height),
          .rotation = stored_rotation(text.rotation_degrees, text_rotation(text, matrix), dimension),
          .origin = text.origin,
          .characters = text.characters};
}

// The box of the text's rectangle (width x count by height) turned about its origin.
Box text_box(const TextGeometry& text, Dimension dimension, const std::array<double, 9>* matrix = nullptr) {
  const bool three = dimension == Dimension::three;
  const std::array<double, 9> m = text_rotation(text, three ? matrix : nullptr);
  const double w = static_cast<double>(text.width) * static_cast<double>(text.characters.size());
  const double h = text.height;
  Box box;
  const double corners[4][2] = {{0, 0}, {w, 0}, {0, h}, {w, h}};
  for (const auto& corner : corners) {
    const double z = three ? m[6] * corner[0] + m[7] * corner[1] : 0.0;
    box.add(text.origin.x + std::llround(m[0] * corner[0] + m[1] * corner[1]),
            text.origin.y + std::llround(m[3] * corner[0] + m[4] * corner[1]),
            three ? text.origin.z + std::llround(z) : 0);
  }
  return box;
}

BuildResult text_element(const Placement& placement, const TextGeometry& text, Dimension dimension,
                         const std::array<double, 9>* matrix) {
  if (text.characters.size() > kMaxTextCharacters) return {status_code::kTextStringTooLong, {}};
  RecordBuilder m(dimension);
  m.text(text_fields(text, dimension, matrix));
  return single(m, client::element::text, placement, text_box(text, dimension, matrix));
}

}  // namespace

BuildResult build_line(const Placement& placement, const Point& start, const Point& end, Dimension dimension) {
  RecordBuilder m(dimension);
  m.point(start);
  m.point(end);
  const Point both[2] = {start, end};
  return single(m, client::element::line, placement, box_of(both, dimension));
}

BuildResult build_vertex_element(int type, const Placement& placement, std::span<const Point> vertices,
                                 Dimension dimension) {
  const std::size_t least = type == client::element::shape ? 3 : 2;
  if (vertices.size() < least) return {status_code::kTooFewVertices, {}};
  if (vertices.size() > kMaxVertices) return {status_code::kTooManyVertices, {}};
  RecordBuilder m(dimension);
  m.vertex_list(vertices);
  return single(m, type, placement, box_of(vertices, dimension));
}

BuildResult build_curve(const Placement& placement, std::span<const Point> points, Dimension dimension) {
  if (points.size() < 3) return {status_code::kTooFewVertices, {}};
  if (points.size() > kMaxCurvePoints) return {status_code::kTooManyVertices, {}};
  // Control points continue the first and last segments outward, so the
  // curve leaves its ends along them.
  auto beyond = [](const Point& end, const Point& inner, std::int64_t k) {
    return Point{Box::clamp(end.x + k * (static_cast<std::int64_t>(end.x) - inner.x)),
                 Box::clamp(end.y + k * (static_cast<std::int64_t>(end.y) - inner.y)),
                 Box::clamp(end.z + k * (static_cast<std::int64_t>(end.z) - inner.z))};
  };
  const std::size_t n = points.size();
  std::vector<Point> stored;
  stored.reserve(n + 4);
  stored.push_back(beyond(points[0], points[1], 2));
  stored.push_back(beyond(points[0], points[1], 1));
  stored.insert(stored.end(), points.begin(), points.end());
  stored.push_back(beyond(points[n - 1], points[n - 2], 1));
  stored.push_back(beyond(points[n - 1], points[n - 2], 2));
  RecordBuilder m(dimension);
  m.vertex_list(stored);
  // The range covers the curve itself, which runs through the given points.
  return single(m, client::element::curve, placement, box_of(points, dimension));
}

BuildResult build_ellipse(const Placement& placement, const EllipseGeometry& e, Dimension dimension) {
  if (!std::isfinite(e.primary) || !std::isfinite(e.secondary) || e.primary < 0 || e.secondary < 0)
    return {status_code::kInvalidElement, {}};
  for (double v : e.origin)
    if (!std::isfinite(v) || std::abs(v) > 2147483647.0) return {status_code::kElementOffPlane, {}};
  RecordBuilder m(dimension);
  m.ellipse(e.primary, e.secondary, stored_rotation(e.rotation_degrees, e.matrix, dimension), e.origin);
  Box box;
  if (dimension == Dimension::three) {
    const double r = std::max(e.primary, e.secondary);
    box.add(std::llround(std::floor(e.origin[0] - r)), std::llround(std::floor(e.origin[1] - r)),
            std::llround(std::floor(e.origin[2] - r)));
    box.add(std::llround(std::ceil(e.origin[0] + r)), std::llround(std::ceil(e.origin[1] + r)),
            std::llround(std::ceil(e.origin[2] + r)));
  } else {
    // Exact half-extents of the turned ellipse.
    const double a = e.rotation_degrees * M_PI / 180.0;
    const double hx = std::hypot(e.primary * std::cos(a), e.secondary * std::sin(a));
    const double hy = std::hypot(e.primary * std::sin(a), e.secondary * std::cos(a));
    box.add(std::llround(std::floor(e.origin[0] - hx)), std::llround(std::floor(e.origin[1] - hy)), 0);
    box.add(std::llround(std::ceil(e.origin[0] + hx)), std::llround(std::ceil(e.origin[1] + hy)), 0);
  }
  return single(m, client::element::ellipse, placement, box);
}

BuildResult build_text(const Placement& placement, const TextGeometry& text, Dimension dimension) {
  return text_element(placement, text, dimension, nullptr);
}

BuildResult build_text(const Placement& placement, const TextGeometry& text, const std::array<double, 9>& matrix) {
  return text_element(placement, text, Dimension::three, &matrix);
}

BuildResult build_text_node(const Placement& placement, const TextGeometry& text, std::int32_t line_spacing,
                            std::uint16_t node_number, Dimension dimension) {
  if (text.characters.size() > kMaxTextCharacters) return {status_code::kTextStringTooLong, {}};
  BuildResult result;
  BuiltElement component;
  const bool has_text = !text.characters.empty();
  if (has_text) {
    RecordBuilder t(dimension);
    t.text(text_fields(text, dimension));
    Placement plain = placement;
    plain.linkages.clear();
    if (int s = finish(t, client::element::text, plain, text_box(text, dimension), true, component); s != 0)
      return {s, {}};
  }
  RecordBuilder m(dimension);
  m.text_node({.components = has_text ? 1 : 0,
               .node_number = node_number,
               .longest_line = static_cast<int>(text.characters.size()),
               .font = text.font,
               .justification = text.justification,
               .line_spacing = line_spacing,
               .width = static_cast<double>(text.width),
               .height = static_cast<double>(text.height),
               .rotation = stored_rotation(text.rotation_degrees, z_rotation(text.rotation_degrees), dimension),
               .origin = text.origin});
  Box box = has_text ? component.range : Box{};
  box.add(text.origin.x, text.origin.y, dimension == Dimension::three ? text.origin.z : 0);
  BuiltElement header;
  if (int s = finish(m, client::element::text_node, placement, box, false, header); s != 0) return {s, {}};
  client::set_complex_total_length(header.file, header.memory, component.file.size());
  result.elements.push_back(std::move(header));
  if (has_text) result.elements.push_back(std::move(component));
  return result;
}

BuildResult build_bspline(const Placement& placement, const BsplineGeometry& curve, Dimension dimension) {
  const std::size_t poles = curve.poles.size();
  if (curve.curve_type < 0 || curve.curve_type > 7) return {status_code::kInvalidElement, {}};
  if (curve.order < 2 || curve.order > 15 || poles < static_cast<std::size_t>(curve.order))
    return {status_code::kPolesBelowOrder, {}};
  if (poles > kMaxBsplinePoles) return {status_code::kTooManyVertices, {}};
  if (!curve.weights.empty() && curve.weights.size() != poles) return {status_code::kInvalidElement, {}};
  for (double w : curve.weights)
    if (!(w > 0 && w <= 1)) return {status_code::kInvalidElement, {}};
  double previous = 0;
  for (double k : curve.knots) {
    if (!(k >= previous && k <= 1)) return {status_code::kInvalidElement, {}};
    previous = k;
  }

  const Box box = box_of(curve.poles, dimension);
  const client::BsplineFields fields{.curve_type = curve.curve_type,
                                     .order = curve.order,
                                     .closed = curve.closed,
                                     .poles = curve.poles,
                                     .knots = curve.knots,
                                     .weights = curve.weights};
  std::vector<BuiltElement> components;
  std::size_t description_words = 0;
  for (client::BuiltRecord& record : client::bspline_components(fields, box, attributes_of(placement), dimension)) {
    if (record.fault != client::RecordFault::none) return {status_code::kTooManyVertices, {}};
    description_words += record.file.size() / 2;
    components.push_back({.memory = std::move(record.memory), .file = std::move(record.file), .range = box});
  }
  RecordBuilder m(dimension);
  m.bspline_header(fields, description_words);
  BuildResult result;
  BuiltElement header;
  if (int s = finish(m, client::element::bspline_curve, placement, box, false, header); s != 0) return {s, {}};
  result.elements.push_back(std::move(header));
  for (BuiltElement& e : components) result.elements.push_back(std::move(e));
  return result;
}

BuildResult build_complex_header(int type, const Placement& placement, Dimension dimension) {
  RecordBuilder m(dimension);
  m.u16(0);  // total length: grows with the components
  m.u16(0);  // component count
  BuildResult result = single(m, type, placement, Box{});
  if (result.status == 0) {
    BuiltElement& e = result.elements.front();
    client::set_complex_total_length(e.file, e.memory, 0);
  }
  return result;
}

}  // namespace vornel::host::editing
