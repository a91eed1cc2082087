#include "tools/dgnmake/element_encoder.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "client/records/element_words.hpp"
#include "client/records/record_builder.hpp"
#include "tools/dgnmake/radix50.hpp"

namespace vornel::dgnmake {

using client::Dimension;
using client::RecordBuilder;
using Box = client::UorBox;

std::int32_t angle_units(double degrees) {
  return static_cast<std::int32_t>(std::llround(std::clamp(degrees, -5000.0, 5000.0) * 360000.0));
}

std::uint32_t signed_magnitude(std::int32_t value) {
  if (value >= 0) return static_cast<std::uint32_t>(value);
  return 0x80000000U | static_cast<std::uint32_t>(-static_cast<std::int64_t>(value));
}

namespace {

struct Encoded {
  std::vector<std::uint8_t> file;  // this element and its components
  Box box;
};

Encoded encode(const ElementSpec& e, Dimension dim, bool component);

// A turn about the z axis: the angle for 2-D files, the quaternion for 3-D.
client::StoredRotation rotation_of(double degrees) {
  const double half = degrees * M_PI / 360.0;
  return {.angle = angle_units(degrees),
          .quaternion = {client::unit_fraction(std::cos(half)), 0, 0, client::unit_fraction(std::sin(half))}};
}

client::RecordAttributes record_attributes(const Attributes& a) {
  return {.level = a.level,
          .graphic_group = a.graphic_group,
          .properties = static_cast<std::uint16_t>(a.element_class | a.properties),
          .style = a.style,
          .weight = a.weight,
          .color = a.color};
}

std::string at_line(const ElementSpec& e, const std::string& what) {
  return "line " + std::to_string(e.line_number) + ": " + what;
}

// The file form of a built record of `e`, marked deleted when `e` is.
std::vector<std::uint8_t> checked_file(client::BuiltRecord record, const ElementSpec& e) {
  if (record.fault == client::RecordFault::too_many_words) throw DescriptionError(at_line(e, "element too large"));
  if (record.fault == client::RecordFault::too_large) throw DescriptionError(at_line(e, "element exceeds 768 words"));
  if (e.attributes.deleted) {
    client::put_word(record.file.data(), 0, client::get_word(record.file.data(), 0) | client::kDeletedBit);
  }
  return std::move(record.file);
}

// Fills the header, appends the linkages and returns the file form.
std::vector<std::uint8_t> finish(RecordBuilder& m, int type, const ElementSpec& e, const Box& box,
                                 bool component) {
  std::vector<std::uint16_t> linkage_words;
  for (const auto& link : e.attributes.linkages) linkage_words.insert(linkage_words.end(), link.begin(), link.end());
  return checked_file(m.finish(type, component, box, record_attributes(e.attributes), linkage_words), e);
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

// Records in file-form bytes: a B-spline child is its header and each
// pole, knot and weight record, and a header counts every one of them.
int record_count(const std::vector<std::uint8_t>& file) {
  int count = 0;
  for (std::size_t at = 0; at + 4 <= file.size(); at += 2 * (std::size_t{client::get_word(file.data(), at + 2)} + 2))
    ++count;
  return count;
}

Components encode_children(const ElementSpec& e, Dimension dim) {
  Components c;
  for (const ElementSpec& child : e.children) {
    Encoded enc = encode(child, dim, true);
    c.bytes.insert(c.bytes.end(), enc.file.begin(), enc.file.end());
    c.box.add(enc.box);
    c.count += record_count(enc.file);
    if (child.attributes.level > 0) c.levels |= std::uint64_t{1} << (child.attributes.level - 1);
  }
  return c;
}

std::vector<std::uint8_t> join(std::vector<std::uint8_t> head, const std::vector<std::uint8_t>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// A header followed by its components, with the header's total length.
std::vector<std::uint8_t> with_components(RecordBuilder& m, int type, const ElementSpec& e, const Box& box,
                                          bool component, const Components& c) {
  auto head = finish(m, type, e, box, component);
  client::set_complex_total_length(head, {}, c.bytes.size());
  return join(std::move(head), c.bytes);
}

client::TextFields text_fields(const ElementSpec& e) {
  return {.font = e.font,
          .justification = e.justification,
          .width = e.text_width,
          .height = e.text_height,
          .rotation = rotation_of(e.rotation),
          .origin = e.origin,
          .characters = e.text};
}

Encoded encode(const ElementSpec& e, Dimension dim, bool component) {
  RecordBuilder m(dim);
  Encoded out;
  switch (e.kind) {
    case Kind::line:
      m.points(e.points);
      out.box = box_of(e.points);
      out.file = finish(m, client::element::line, e, out.box, component);
      break;
    case Kind::line_string:
    case Kind::shape:
    case Kind::curve: {
      m.vertex_list(e.points);
      out.box = box_of(e.points);
      const int type = e.kind == Kind::line_string ? client::element::line_string
                       : e.kind == Kind::shape     ? client::element::shape
                                                   : client::element::curve;
      out.file = finish(m, type, e, out.box, component);
      break;
    }
    case Kind::ellipse:
    case Kind::arc: {
      const bool arc = e.kind == Kind::arc;
      if (arc) {
        m.i32(angle_units(e.start_angle));
        m.i32(static_cast<std::int32_t>(signed_magnitude(angle_units(e.sweep_angle))));
      }
      m.ellipse(e.primary_axis, e.secondary_axis, rotation_of(e.rotation),
                {static_cast<double>(e.origin.x), static_cast<double>(e.origin.y), static_cast<double>(e.origin.z)});
      out.box = box_around(e.origin, std::max(e.primary_axis, e.secondary_axis));
      out.file = finish(m, arc ? client::element::arc : client::element::ellipse, e, out.box, component);
      break;
    }
    case Kind::text: {
      m.text(text_fields(e));
      out.box.add(e.origin);
      out.box.add(e.origin.x + static_cast<std::int64_t>(e.text_width * static_cast<double>(e.text.size())),
                  e.origin.y + static_cast<std::int64_t>(e.text_height), e.origin.z);
      out.file = finish(m, client::element::text, e, out.box, component);
      break;
    }
    case Kind::text_node: {
      Components c = encode_children(e, dim);
      std::size_t longest = 0;
      for (const ElementSpec& t : e.children) longest = std::max(longest, t.text.size());
      m.text_node({.components = c.count,
                   .node_number = 1,
                   .longest_line = static_cast<int>(longest),
                   .font = e.font,
                   .justification = e.justification,
                   .line_spacing = static_cast<std::int32_t>(std::llround(e.line_spacing)),
                   .width = e.text_width,
                   .height = e.text_height,
                   .rotation = rotation_of(e.rotation),
                   .origin = e.origin});
      out.box = c.box;
      out.box.add(e.origin);
      out.file = with_components(m, client::element::text_node, e, out.box, component, c);
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
      for (int i = 0; i < axes; ++i) m.i32(c.box.empty() ? 0 : Box::clamp(c.box.low[i]));
      for (int i = 0; i < axes; ++i) m.i32(c.box.empty() ? 0 : Box::clamp(c.box.high[i]));
      for (int r = 0; r < axes; ++r) {
        for (int k = 0; k < axes; ++k) m.i32(r == k ? client::unit_fraction(1.0) : 0);
      }
      m.point(e.origin);
      out.box = c.box;
      out.box.add(e.origin);
      out.file = with_components(m, client::element::cell_header, e, out.box, component, c);
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
      out.file = with_components(m, type, e, out.box, component, c);
      break;
    }
    case Kind::bspline: {
      if (!e.weights.empty() && e.weights.size() != e.points.size()) {
        throw DescriptionError(at_line(e, "one weight per pole is needed"));
      }
      out.box = box_of(e.points);
      const client::BsplineFields fields{
          .order = e.order, .closed = e.closed, .poles = e.points, .knots = e.knots, .weights = e.weights};
      std::vector<std::uint8_t> parts;
      for (client::BuiltRecord& record :
           client::bspline_components(fields, out.box, record_attributes(e.attributes), dim)) {
        const auto f = checked_file(std::move(record), e);
        parts.insert(parts.end(), f.begin(), f.end());
      }
      m.bspline_header(fields, parts.size() / 2);
      out.file = join(finish(m, client::element::bspline_curve, e, out.box, component), parts);
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
