#include "tools/dgnmake/element_encoder.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "client/records/convert_element.hpp"
#include "client/records/element_words.hpp"
#include "client/records/scan_format.hpp"
#include "tools/dgnmake/radix50.hpp"

namespace vornel::dgnmake {

using client::Dimension;

std::int32_t angle_units(double degrees) {
  return static_cast<std::int32_t>(std::llround(std::clamp(degrees, -5000.0, 5000.0) * 360000.0));
}

std::int32_t text_multiplier(double size_uor) {
  return static_cast<std::int32_t>(std::llround(size_uor * 1000.0 / 6.0));
}

std::int32_t unit_fraction(double value) {
  return static_cast<std::int32_t>(std::llround(value * 2147483647.0));
}

std::uint32_t signed_magnitude(std::int32_t value) {
  if (value >= 0) return static_cast<std::uint32_t>(value);
  return 0x80000000U | static_cast<std::uint32_t>(-static_cast<std::int64_t>(value));
}

namespace {

constexpr int kComplexFlag = 0x80;

struct Box {
  std::int64_t low[3] = {std::numeric_limits<std::int64_t>::max(),
                         std::numeric_limits<std::int64_t>::max(),
                         std::numeric_limits<std::int64_t>::max()};
  std::int64_t high[3] = {std::numeric_limits<std::int64_t>::min(),
                          std::numeric_limits<std::int64_t>::min(),
                          std::numeric_limits<std::int64_t>::min()};
  bool empty() const { return low[0] > high[0]; }
  void add(std::int64_t x, std::int64_t y, std::int64_t z) {
    const std::int64_t v[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
      low[i] = std::min(low[i], v[i]);
      high[i] = std::max(high[i], v[i]);
    }
  }
  void add(const Point& p) { add(p.x, p.y, p.z); }
  void add(const Box& b) {
    if (b.empty()) return;
    add(b.low[0], b.low[1], b.low[2]);
    add(b.high[0], b.high[1], b.high[2]);
  }
  std::int32_t clamp(std::int64_t v) const {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  }
};

// The memory form of one record, built field by field after the header.
class MemoryRecord {
 public:
  MemoryRecord() : bytes_(40, 0) {}
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
  std::size_t size() const { return bytes_.size(); }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

struct Encoded {
  std::vector<std::uint8_t> file;  // this element and its components
  Box box;
};

Encoded encode(const ElementSpec& e, Dimension dim, bool component);

void points(MemoryRecord& m, const std::vector<Point>& pts, Dimension dim) {
  for (const Point& p : pts) {
    m.i32(p.x);
    m.i32(p.y);
    if (dim == Dimension::three) m.i32(p.z);
  }
}

void vertex_list(MemoryRecord& m, const std::vector<Point>& pts, Dimension dim) {
  m.u16(static_cast<int>(pts.size()));
  m.u16(0);
  points(m, pts, dim);
}

// Rotation about the z axis as a quaternion w, x, y, z in unit fractions.
void quaternion(MemoryRecord& m, double degrees) {
  const double half = degrees * M_PI / 360.0;
  m.i32(unit_fraction(std::cos(half)));
  m.i32(0);
  m.i32(0);
  m.i32(unit_fraction(std::sin(half)));
}

void origin(MemoryRecord& m, const Point& o, Dimension dim, bool as_doubles) {
  if (as_doubles) {
    m.f64(o.x);
    m.f64(o.y);
    if (dim == Dimension::three) m.f64(o.z);
  } else {
    points(m, {o}, dim);
  }
}

int symbology(const Attributes& a) { return a.style | (a.weight << 3) | (a.color << 8); }

// Fills the header, appends the linkages and converts to the file form.
std::vector<std::uint8_t> finish(MemoryRecord& m, int type, const ElementSpec& e, const Box& box,
                                 Dimension dim, bool component) {
  const Attributes& a = e.attributes;
  const std::size_t linkage_start = m.size();
  for (const auto& link : a.linkages) {
    for (std::uint16_t w : link) m.u16(w);
  }
  auto& b = m.bytes();
  const std::size_t words = b.size() / 2;
  if (words - 2 > 0xFFFF) {
    throw DescriptionError("line " + std::to_string(e.line_number) + ": element too large");
  }
  auto* p = b.data();
  client::put_word(p, 0, static_cast<std::uint16_t>((type << 8) | a.level |
                                                    (component ? kComplexFlag : 0)));
  client::put_word(p, 2, static_cast<std::uint16_t>(words - 2));
  for (int i = 0; i < 3; ++i) {
    const bool flat = dim == Dimension::two && i == 2;
    const std::int32_t low = flat || box.empty() ? 0 : box.clamp(box.low[i]);
    const std::int32_t high = flat || box.empty() ? 0 : box.clamp(box.high[i]);
    client::put_long(p, 4 + 4 * static_cast<std::size_t>(i), client::to_scan_format(low));
    client::put_long(p, 16 + 4 * static_cast<std::size_t>(i), client::to_scan_format(high));
  }
  client::put_word(p, 28, a.graphic_group);
  client::put_word(p, 30, static_cast<std::uint16_t>(linkage_start / 2 - 16));
  const int attributes_present = a.linkages.empty() ? 0 : 0x0800;
  client::put_word(p, 32, static_cast<std::uint16_t>(a.element_class | a.properties |
                                                     attributes_present));
  client::put_word(p, 36, static_cast<std::uint16_t>(symbology(a)));

  std::vector<std::uint8_t> file(b.size() + 16, 0);
  const std::size_t file_size = client::memory_to_file(b, file, dim);
  if (file_size > client::kMaxElementBytes) {
    throw DescriptionError("line " + std::to_string(e.line_number) +
                           ": element exceeds 768 words");
  }
  file.resize(file_size);
  if (a.deleted) client::put_word(file.data(), 0, client::get_word(file.data(), 0) | 0x8000);
  return file;
}

Box box_of(const std::vector<Point>& pts) {
  Box box;
  for (const Point& p : pts) box.add(p);
  return box;
}

Box box_around(const Point& o, double radius) {
  const auto r = static_cast<std::int64_t>(std::ceil(std::abs(radius)));
  Box box;
  box.add(o.x - r, o.y - r, o.z - r);
  box.add(o.x + r, o.y + r, o.z + r);
  return box;
}

struct Components {
  std::vector<std::uint8_t> bytes;
  Box box;
  int count = 0;
  std::uint64_t levels = 0;
};

Components encode_children(const ElementSpec& e, Dimension dim) {
  Components c;
  for (const ElementSpec& child : e.children) {
    Encoded enc = encode(child, dim, true);
    c.bytes.insert(c.bytes.end(), enc.file.begin(), enc.file.end());
    c.box.add(enc.box);
    ++c.count;
    if (child.attributes.level > 0) c.levels |= std::uint64_t{1} << (child.attributes.level - 1);
  }
  return c;
}

// Total length word of a complex header: the words that follow it in the
// whole complex element (header words after the first 19, and components).
int total_length(std::size_t header_file_bytes, std::size_t component_bytes) {
  return static_cast<int>((header_file_bytes + component_bytes) / 2 - 19);
}

std::vector<std::uint8_t> join(std::vector<std::uint8_t> head, const std::vector<std::uint8_t>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// A header followed by its components, with the header's total length.
std::vector<std::uint8_t> with_components(MemoryRecord& m, int type, const ElementSpec& e,
                                          const Box& box, Dimension dim, bool component,
                                          const Components& c) {
  auto head = finish(m, type, e, box, dim, component);
  client::put_word(head.data(), 36,
                   static_cast<std::uint16_t>(total_length(head.size(), c.bytes.size())));
  return join(std::move(head), c.bytes);
}

void text_body(MemoryRecord& m, const ElementSpec& e, Dimension dim) {
  m.u8(e.font);
  m.u8(e.justification);
  m.u16(0);
  m.i32(text_multiplier(e.text_width));
  m.i32(text_multiplier(e.text_height));
  if (dim == Dimension::three) {
    quaternion(m, e.rotation);
  } else {
    m.i32(angle_units(e.rotation));
  }
  origin(m, e.origin, dim, false);
  m.u8(static_cast<int>(e.text.size()));
  m.u8(0);
  for (char ch : e.text) m.u8(static_cast<unsigned char>(ch));
  m.pad_to_word();
}

Encoded encode(const ElementSpec& e, Dimension dim, bool component) {
  MemoryRecord m;
  Encoded out;
  switch (e.kind) {
    case Kind::line:
      points(m, e.points, dim);
      out.box = box_of(e.points);
      out.file = finish(m, client::element::line, e, out.box, dim, component);
      break;
    case Kind::line_string:
    case Kind::shape:
    case Kind::curve: {
      vertex_list(m, e.points, dim);
      out.box = box_of(e.points);
      const int type = e.kind == Kind::line_string ? client::element::line_string
                       : e.kind == Kind::shape     ? client::element::shape
                                                   : client::element::curve;
      out.file = finish(m, type, e, out.box, dim, component);
      break;
    }
    case Kind::ellipse:
    case Kind::arc: {
      const bool arc = e.kind == Kind::arc;
      if (arc) {
        m.i32(angle_units(e.start_angle));
        m.i32(static_cast<std::int32_t>(signed_magnitude(angle_units(e.sweep_angle))));
      }
      m.f64(e.primary_axis);
      m.f64(e.secondary_axis);
      if (dim == Dimension::three) {
        quaternion(m, e.rotation);
      } else {
        m.i32(angle_units(e.rotation));
        m.zero(4);
      }
      origin(m, e.origin, dim, true);
      out.box = box_around(e.origin, std::max(e.primary_axis, e.secondary_axis));
      out.file = finish(m, arc ? client::element::arc : client::element::ellipse, e, out.box,
                        dim, component);
      break;
    }
    case Kind::text: {
      text_body(m, e, dim);
      out.box.add(e.origin);
      out.box.add(e.origin.x + static_cast<std::int64_t>(e.text_width * static_cast<double>(e.text.size())),
                  e.origin.y + static_cast<std::int64_t>(e.text_height), e.origin.z);
      out.file = finish(m, client::element::text, e, out.box, dim, component);
      break;
    }
    case Kind::text_node: {
      Components c = encode_children(e, dim);
      std::size_t longest = 0;
      for (const ElementSpec& t : e.children) longest = std::max(longest, t.text.size());
      m.u16(0);  // total length, set below
      m.u16(c.count);
      m.u16(1);  // node number
      m.u8(255);
      m.u8(static_cast<int>(longest));
      m.u8(e.font);
      m.u8(e.justification);
      m.u16(0);
      m.i32(static_cast<std::int64_t>(std::llround(e.line_spacing)));
      m.i32(text_multiplier(e.text_width));
      m.i32(text_multiplier(e.text_height));
      if (dim == Dimension::three) {
        quaternion(m, e.rotation);
      } else {
        m.i32(angle_units(e.rotation));
      }
      origin(m, e.origin, dim, false);
      out.box = c.box;
      out.box.add(e.origin);
      out.file = with_components(m, client::element::text_node, e, out.box, dim, component, c);
      break;
    }
    case Kind::cell: {
      Components c = encode_children(e, dim);
      m.u16(0);  // total length, set below
      m.u16(0);
      const auto name = radix50_encode(e.name);
      m.u16(name[0]);
      m.u16(name[1]);
      m.u16(0);  // class bit mask of the components
      for (int w = 0; w < 4; ++w) m.u16(static_cast<int>((c.levels >> (16 * w)) & 0xFFFF));
      m.u16(0);
      const int axes = dim == Dimension::three ? 3 : 2;
      for (int i = 0; i < axes; ++i) m.i32(c.box.empty() ? 0 : c.box.clamp(c.box.low[i]));
      for (int i = 0; i < axes; ++i) m.i32(c.box.empty() ? 0 : c.box.clamp(c.box.high[i]));
      for (int r = 0; r < axes; ++r) {
        for (int k = 0; k < axes; ++k) m.i32(r == k ? unit_fraction(1.0) : 0);
      }
      origin(m, e.origin, dim, false);
      out.box = c.box;
      out.box.add(e.origin);
      out.file = with_components(m, client::element::cell_header, e, out.box, dim, component, c);
      break;
    }
    case Kind::complex_chain:
    case Kind::complex_shape: {
      Components c = encode_children(e, dim);
      m.u16(0);  // total length, set below
      m.u16(c.count);
      out.box = c.box;
      const int type = e.kind == Kind::complex_chain ? client::element::complex_chain
                                                     : client::element::complex_shape;
      out.file = with_components(m, type, e, out.box, dim, component, c);
      break;
    }
    case Kind::bspline: {
      if (!e.weights.empty() && e.weights.size() != e.points.size()) {
        throw DescriptionError("line " + std::to_string(e.line_number) +
                               ": one weight per pole is needed");
      }
      out.box = box_of(e.points);
      ElementSpec part;
      part.line_number = e.line_number;
      part.attributes = e.attributes;
      part.attributes.linkages.clear();
      std::vector<std::uint8_t> parts;
      {
        MemoryRecord poles;
        vertex_list(poles, e.points, dim);
        const auto f = finish(poles, client::element::bspline_pole, part, out.box, dim, true);
        parts.insert(parts.end(), f.begin(), f.end());
      }
      for (const auto* values : {&e.knots, &e.weights}) {
        if (values->empty()) continue;
        MemoryRecord r;
        for (double v : *values) r.i32(unit_fraction(v));
        const int type = values == &e.knots ? client::element::bspline_knot
                                            : client::element::bspline_weight;
        const auto f = finish(r, type, part, out.box, dim, true);
        parts.insert(parts.end(), f.begin(), f.end());
      }
      m.i32(static_cast<std::int64_t>(parts.size() / 2));  // description words
      const int rational = e.weights.empty() ? 0 : 0x40;
      m.u8((e.order - 2) | 0x10 | rational | (e.closed ? 0x80 : 0));
      m.u8(0);  // curve type
      m.u16(static_cast<int>(e.points.size()));
      m.u16(static_cast<int>(e.knots.size()));
      m.u16(0);
      out.file = join(finish(m, client::element::bspline_curve, e, out.box, dim, component), parts);
      break;
    }
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> encode_element(const ElementSpec& spec, Dimension dimension) {
  return encode(spec, dimension, false).file;
}

}  // namespace vornel::dgnmake
