#include "host/editing/element_builder.h"

#include "client/connection/status_codes.h"
#include "client/records/convert_element.hpp"
#include "client/records/element_words.hpp"
#include "client/records/scan_format.hpp"
#include "host/editing/edit_status.h"
#include "host/editing/rotation.h"

#include <cmath>
#include <cstring>

namespace vornel::host::editing {

using client::Dimension;

namespace {

constexpr std::uint16_t kAttributesPresent = 0x0800;
constexpr std::uint16_t kComplexBit = 0x0080;

// The memory form of one record, written field by field after the header.
class MemoryRecord {
 public:
  MemoryRecord() : bytes_(client::kMemoryBodyOffset, 0) {}
  void u8(int v) { bytes_.push_back(static_cast<std::uint8_t>(v)); }
  void u16(int v) {
    u8(v & 0xFF);
    u8((v >> 8) & 0xFF);
  }
  void i32(std::int64_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    u16(static_cast<int>(u & 0xFFFF));
    u16(static_cast<int>(u >> 16));
  }
  void f64(double v) {
    std::uint8_t raw[8];
    std::memcpy(raw, &v, 8);
    bytes_.insert(bytes_.end(), raw, raw + 8);
  }
  void zero(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  void pad_to_word() {
    if (bytes_.size() % 2 != 0) u8(0);
  }
  void point(const Point& p, Dimension dimension) {
    i32(p.x);
    i32(p.y);
    if (dimension == Dimension::three) i32(p.z);
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::int32_t text_multiplier(std::int32_t size_uor) {
  return static_cast<std::int32_t>(std::llround(static_cast<double>(size_uor) * 1000.0 / 6.0));
}

std::int32_t unit_fraction(double value) {
  return static_cast<std::int32_t>(std::llround(std::clamp(value, -1.0, 1.0) * kUnitFraction));
}

void quaternion(MemoryRecord& m, const std::array<double, 9>& matrix) {
  for (std::int32_t v : matrix_to_quaternion(matrix)) m.i32(v);
}

// Fills the header, appends the linkages and converts to the file form.
// Fails with 905 (vertices) or 921 (linkages) when the file record would
// exceed 768 words.
int finish(MemoryRecord& m, int type, const Placement& placement, const Box& range, Dimension dimension,
           bool component, BuiltElement& out) {
  auto& bytes = m.bytes();
  const std::size_t linkage_start = bytes.size();
  for (std::uint16_t w : placement.linkages) m.u16(w);
  const std::size_t words = bytes.size() / 2;
  std::uint8_t* p = bytes.data();
  client::put_word(p, 0, static_cast<std::uint16_t>((type << 8) | (placement.level & 0x3F) | (component ? kComplexBit : 0)));
  client::put_word(p, 2, static_cast<std::uint16_t>(std::min<std::size_t>(words - 2, 0xFFFF)));
  set_record_range(bytes, range);
  client::put_word(p, client::kGraphicGroupOffset, placement.graphic_group);
  client::put_word(p, client::kAttributeIndexOffset, static_cast<std::uint16_t>(linkage_start / 2 - 16));
  const std::uint16_t properties =
      static_cast<std::uint16_t>((placement.element_class & 0x0F) | (placement.linkages.empty() ? 0 : kAttributesPresent));
  client::put_word(p, client::kPropertiesOffset, properties);
  client::put_word(p, client::kMemorySymbologyOffset,
                   static_cast<std::uint16_t>((placement.style & 0x7) | ((placement.weight & 0x1F) << 3) |
                                              ((placement.color & 0xFF) << 8)));

  std::vector<std::uint8_t> file(bytes.size());
  const std::size_t file_size = client::memory_to_file(bytes, file, dimension);
  if (words - 2 > 0xFFFF || file_size > client::kMaxElementBytes) {
    const bool linkage_overflow = file_size - 2 * placement.linkages.size() <= client::kMaxElementBytes;
    return linkage_overflow && !placement.linkages.empty() ? status_code::kMaximumAttrLinkage
                                                           : status_code::kTooManyVertices;
  }
  file.resize(file_size);
  out.memory = std::move(bytes);
  out.file = std::move(file);
  out.range = range;
  return 0;
}

BuildResult single(MemoryRecord& m, int type, const Placement& placement, const Box& range, Dimension dimension) {
  BuildResult result;
  BuiltElement element;
  result.status = finish(m, type, placement, range, dimension, false, element);
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

void text_body(MemoryRecord& m, const TextGeometry& text, Dimension dimension,
               const std::array<double, 9>* matrix = nullptr) {
  m.u8(text.font);
  m.u8(text.justification);
  m.u16(0);
  m.i32(text_multiplier(text.width));
  m.i32(text_multiplier(text.height));
  if (dimension == Dimension::three) quaternion(m, text_rotation(text, matrix));
  else m.i32(angle_units(text.rotation_degrees));
  m.point(text.origin, dimension);
  m.u8(static_cast<int>(text.characters.size()));
  m.u8(0);
  for (char ch : text.characters) m.u8(static_cast<unsigned char>(ch));
  m.pad_to_word();
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

}  // namespace

Box record_range(std::span<const std::uint8_t> record) {
  Box box;
  if (record.size() < 28) return box;
  std::int64_t low[3], high[3];
  for (std::size_t i = 0; i < 3; ++i) {
    low[i] = client::from_scan_format(client::get_long(record.data(), 4 + 4 * i));
    high[i] = client::from_scan_format(client::get_long(record.data(), 16 + 4 * i));
  }
  box.add(low[0], low[1], low[2]);
  box.add(high[0], high[1], high[2]);
  return box;
}

void set_record_range(std::span<std::uint8_t> record, const Box& range) {
  if (record.size() < 28) return;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::int32_t low = range.empty() ? 0 : Box::clamp(range.low[i]);
    const std::int32_t high = range.empty() ? 0 : Box::clamp(range.high[i]);
    client::put_long(record.data(), 4 + 4 * i, client::to_scan_format(low));
    client::put_long(record.data(), 16 + 4 * i, client::to_scan_format(high));
  }
}

BuildResult build_line(const Placement& placement, const Point& start, const Point& end, Dimension dimension) {
  MemoryRecord m;
  m.point(start, dimension);
  m.point(end, dimension);
  const Point both[2] = {start, end};
  return single(m, client::element::line, placement, box_of(both, dimension), dimension);
}

BuildResult build_vertex_element(int type, const Placement& placement, std::span<const Point> vertices,
                                 Dimension dimension) {
  const std::size_t least = type == client::element::shape ? 3 : 2;
  if (vertices.size() < least) return {status_code::kTooFewVertices, {}};
  if (vertices.size() > kMaxVertices) return {status_code::kTooManyVertices, {}};
  MemoryRecord m;
  m.u16(static_cast<int>(vertices.size()));
  m.u16(0);
  for (const Point& p : vertices) m.point(p, dimension);
  return single(m, type, placement, box_of(vertices, dimension), dimension);
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
  MemoryRecord m;
  m.u16(static_cast<int>(stored.size()));
  m.u16(0);
  for (const Point& p : stored) m.point(p, dimension);
  // The range covers the curve itself, which runs through the given points.
  return single(m, client::element::curve, placement, box_of(points, dimension), dimension);
}

BuildResult build_ellipse(const Placement& placement, const EllipseGeometry& e, Dimension dimension) {
  if (!std::isfinite(e.primary) || !std::isfinite(e.secondary) || e.primary < 0 || e.secondary < 0)
    return {status_code::kInvalidElement, {}};
  for (double v : e.origin)
    if (!std::isfinite(v) || std::abs(v) > 2147483647.0) return {status_code::kElementOffPlane, {}};
  MemoryRecord m;
  m.f64(e.primary);
  m.f64(e.secondary);
  Box box;
  if (dimension == Dimension::three) {
    quaternion(m, e.matrix);
    m.f64(e.origin[0]);
    m.f64(e.origin[1]);
    m.f64(e.origin[2]);
    const double r = std::max(e.primary, e.secondary);
    box.add(std::llround(std::floor(e.origin[0] - r)), std::llround(std::floor(e.origin[1] - r)),
            std::llround(std::floor(e.origin[2] - r)));
    box.add(std::llround(std::ceil(e.origin[0] + r)), std::llround(std::ceil(e.origin[1] + r)),
            std::llround(std::ceil(e.origin[2] + r)));
  } else {
    m.i32(angle_units(e.rotation_degrees));
    m.zero(4);
    m.f64(e.origin[0]);
    m.f64(e.origin[1]);
    // Exact half-extents of the turned ellipse.
    const double a = e.rotation_degrees * M_PI / 180.0;
    const double hx = std::hypot(e.primary * std::cos(a), e.secondary * std::sin(a));
    const double hy = std::hypot(e.primary * std::sin(a), e.secondary * std::cos(a));
    box.add(std::llround(std::floor(e.origin[0] - hx)), std::llround(std::floor(e.origin[1] - hy)), 0);
    box.add(std::llround(std::ceil(e.origin[0] + hx)), std::llround(std::ceil(e.origin[1] + hy)), 0);
  }
  return single(m, client::element::ellipse, placement, box, dimension);
}

BuildResult build_text(const Placement& placement, const TextGeometry& text, Dimension dimension) {
  if (text.characters.size() > kMaxTextCharacters) return {status_code::kTextStringTooLong, {}};
  MemoryRecord m;
  text_body(m, text, dimension);
  return single(m, client::element::text, placement, text_box(text, dimension), dimension);
}

BuildResult build_text(const Placement& placement, const TextGeometry& text, const std::array<double, 9>& matrix) {
  if (text.characters.size() > kMaxTextCharacters) return {status_code::kTextStringTooLong, {}};
  MemoryRecord m;
  text_body(m, text, Dimension::three, &matrix);
  return single(m, client::element::text, placement, text_box(text, Dimension::three, &matrix), Dimension::three);
}

BuildResult build_text_node(const Placement& placement, const TextGeometry& text, std::int32_t line_spacing,
                            std::uint16_t node_number, Dimension dimension) {
  if (text.characters.size() > kMaxTextCharacters) return {status_code::kTextStringTooLong, {}};
  BuildResult result;
  BuiltElement component;
  const bool has_text = !text.characters.empty();
  if (has_text) {
    MemoryRecord t;
    text_body(t, text, dimension);
    Placement plain = placement;
    plain.linkages.clear();
    if (int s = finish(t, client::element::text, plain, text_box(text, dimension), dimension, true, component); s != 0)
      return {s, {}};
  }
  MemoryRecord m;
  m.u16(0);  // total length, set below
  m.u16(has_text ? 1 : 0);
  m.u16(node_number);
  m.u8(255);  // maximum characters per line
  m.u8(static_cast<int>(text.characters.size()));
  m.u8(text.font);
  m.u8(text.justification);
  m.u16(0);
  m.i32(line_spacing);
  m.i32(text_multiplier(text.width));
  m.i32(text_multiplier(text.height));
  if (dimension == Dimension::three) quaternion(m, z_rotation(text.rotation_degrees));
  else m.i32(angle_units(text.rotation_degrees));
  m.point(text.origin, dimension);
  Box box = has_text ? component.range : Box{};
  box.add(text.origin.x, text.origin.y, dimension == Dimension::three ? text.origin.z : 0);
  BuiltElement header;
  if (int s = finish(m, client::element::text_node, placement, box, dimension, false, header); s != 0) return {s, {}};
  const std::size_t total = (header.file.size() + component.file.size()) / 2 - kComplexUncountedWords;
  client::put_word(header.file.data(), kComplexTotalLengthOffset, static_cast<std::uint16_t>(total));
  client::put_word(header.memory.data(), client::kMemoryBodyOffset, static_cast<std::uint16_t>(total));
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

  Placement part = placement;
  part.linkages.clear();
  const Box box = box_of(curve.poles, dimension);
  BuildResult result;
  BuiltElement header;
  std::vector<BuiltElement> components;
  {
    MemoryRecord m;
    m.u16(static_cast<int>(poles));
    m.u16(0);
    for (const Point& p : curve.poles) m.point(p, dimension);
    BuiltElement e;
    if (int s = finish(m, client::element::bspline_pole, part, box, dimension, true, e); s != 0) return {s, {}};
    components.push_back(std::move(e));
  }
  for (const auto* values : {&curve.knots, &curve.weights}) {
    if (values->empty()) continue;
    MemoryRecord m;
    for (double v : *values) m.i32(unit_fraction(v));
    BuiltElement e;
    const int type = values == &curve.knots ? client::element::bspline_knot : client::element::bspline_weight;
    if (int s = finish(m, type, part, box, dimension, true, e); s != 0) return {s, {}};
    components.push_back(std::move(e));
  }
  std::size_t description_words = 0;
  for (const BuiltElement& e : components) description_words += e.file.size() / 2;
  MemoryRecord m;
  m.i32(static_cast<std::int64_t>(description_words));
  m.u8((curve.order - 2) | 0x10 | (curve.weights.empty() ? 0 : 0x40) | (curve.closed ? 0x80 : 0));
  m.u8(curve.curve_type);
  m.u16(static_cast<int>(poles));
  m.u16(static_cast<int>(curve.knots.size()));
  m.u16(0);
  if (int s = finish(m, client::element::bspline_curve, placement, box, dimension, false, header); s != 0)
    return {s, {}};
  result.elements.push_back(std::move(header));
  for (BuiltElement& e : components) result.elements.push_back(std::move(e));
  return result;
}

BuildResult build_complex_header(int type, const Placement& placement, Dimension dimension) {
  MemoryRecord m;
  m.u16(0);  // total length: grows with the components
  m.u16(0);  // component count
  BuildResult result = single(m, type, placement, Box{}, dimension);
  if (result.status == 0) {
    BuiltElement& e = result.elements.front();
    const auto total = static_cast<std::uint16_t>(e.file.size() / 2 - kComplexUncountedWords);
    client::put_word(e.file.data(), kComplexTotalLengthOffset, total);
    client::put_word(e.memory.data(), client::kMemoryBodyOffset, total);
  }
  return result;
}

}  // namespace vornel::host::editing
