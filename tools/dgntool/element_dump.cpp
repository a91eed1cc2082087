#include "tools/dgntool/element_dump.hpp"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "client/records/convert_element.hpp"
#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "client/records/linkages.hpp"
#include "client/records/scan_format.hpp"
#include "client/records/vax_double.hpp"
#include "tools/dgnmake/design_file_builder.hpp"
#include "tools/dgnmake/radix50.hpp"
#include "tools/dgntool/dump_line.hpp"

namespace vornel::dgntool {
namespace {

using client::Dimension;
using client::get_long;
using client::get_word;

constexpr double kAngleUnits = 360000.0;
constexpr double kUnitFraction = 2147483647.0;

std::int32_t memory_long(const std::uint8_t* m, std::size_t offset) {
  return static_cast<std::int32_t>(get_long(m, offset));
}

double memory_double(const std::uint8_t* m, std::size_t offset) {
  double v = 0;
  std::memcpy(&v, m + offset, 8);
  return v;
}

// Rotation by a quaternion w, x, y, z (unit fractions) applied to (x, y, 0).
std::array<double, 3> rotate(const std::uint8_t* m, std::size_t offset, double x, double y) {
  double q[4];
  for (std::size_t i = 0; i < 4; ++i) q[i] = memory_long(m, offset + 4 * i) / kUnitFraction;
  const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  if (n == 0) return {x, y, 0};
  const double w = q[0] / n, a = q[1] / n, b = q[2] / n, c = q[3] / n;
  return {(1 - 2 * (b * b + c * c)) * x + 2 * (a * b - w * c) * y,
          2 * (a * b + w * c) * x + (1 - 2 * (a * a + c * c)) * y,
          2 * (a * c - w * b) * x + 2 * (b * c + w * a) * y};
}

double sweep_degrees(std::int32_t raw) {
  const auto u = static_cast<std::uint32_t>(raw);
  const double magnitude = static_cast<double>(u & 0x7FFFFFFFU) / kAngleUnits;
  return (u & 0x80000000U) != 0 ? -magnitude : magnitude;
}

std::vector<double> point_at(const std::uint8_t* m, std::size_t offset, Dimension dim) {
  std::vector<double> p = {static_cast<double>(memory_long(m, offset)),
                           static_cast<double>(memory_long(m, offset + 4))};
  if (dim == Dimension::three) p.push_back(memory_long(m, offset + 8));
  return p;
}

void vertices(DumpLine& line, const std::uint8_t* m, std::size_t available, Dimension dim) {
  const std::size_t stride = dim == Dimension::three ? 12 : 8;
  std::size_t count = get_word(m, 40);
  count = std::min(count, available > 44 ? (available - 44) / stride : 0);
  std::vector<std::vector<double>> pts;
  for (std::size_t i = 0; i < count; ++i) pts.push_back(point_at(m, 44 + stride * i, dim));
  line.points("vertices", pts);
}

void conic(DumpLine& line, const std::uint8_t* m, bool arc, Dimension dim) {
  const std::size_t axes_at = arc ? 48 : 40;
  const double a = memory_double(m, axes_at);
  const double b = memory_double(m, axes_at + 8);
  const bool three = dim == Dimension::three;
  const std::size_t rotation_at = axes_at + 16;
  const std::size_t origin_at = three ? rotation_at + 16 : rotation_at + 8;
  std::vector<double> origin = {memory_double(m, origin_at), memory_double(m, origin_at + 8)};
  if (three) origin.push_back(memory_double(m, origin_at + 16));
  line.numbers("origin", origin);
  line.numbers("axes", {a, b});
  const double rotation = three ? 0 : memory_long(m, rotation_at) / kAngleUnits;
  if (!three) line.real("rotation", rotation);
  if (!arc) return;
  const double start = memory_long(m, 40) / kAngleUnits;
  const double sweep = sweep_degrees(memory_long(m, 44));
  line.real("start", start);
  line.real("sweep", sweep);
  std::vector<std::vector<double>> ends;
  for (const double angle : {start, start + sweep}) {
    const double t = angle * M_PI / 180.0;
    const double x = a * std::cos(t), y = b * std::sin(t);
    std::array<double, 3> v;
    if (three) {
      v = rotate(m, rotation_at, x, y);
    } else {
      const double r = rotation * M_PI / 180.0;
      v = {x * std::cos(r) - y * std::sin(r), x * std::sin(r) + y * std::cos(r), 0};
    }
    std::vector<double> p;
    for (std::size_t i = 0; i < origin.size(); ++i) p.push_back(std::round(origin[i] + v[i]) + 0.0);
    ends.push_back(p);
  }
  line.points("vertices", ends);
}

void text(DumpLine& line, const std::uint8_t* m, std::size_t available, Dimension dim) {
  const bool three = dim == Dimension::three;
  const std::int32_t length_mult = memory_long(m, 44);
  const std::int32_t height_mult = memory_long(m, 48);
  line.integer("font", m[40]);
  line.integer("just", m[41]);
  line.numbers("size", {std::round(length_mult * 6.0 / 1000.0), std::round(height_mult * 6.0 / 1000.0)});
  line.numbers("multipliers", {static_cast<double>(length_mult), static_cast<double>(height_mult)});
  if (three) {
    // The baseline's turn in plan; the stored quaternion shows any tilt.
    const std::array<double, 3> baseline = rotate(m, 52, 1, 0);
    const double turn = std::atan2(baseline[1], baseline[0]) * 180.0 / M_PI;
    line.real("rotation", std::round(turn * 1e6) / 1e6 + 0.0);
    line.numbers("quaternion", {static_cast<double>(memory_long(m, 52)), static_cast<double>(memory_long(m, 56)),
                                static_cast<double>(memory_long(m, 60)), static_cast<double>(memory_long(m, 64))});
  } else {
    line.real("rotation", memory_long(m, 52) / kAngleUnits);
  }
  const std::size_t origin_at = three ? 68 : 56;
  line.numbers("origin", point_at(m, origin_at, dim));
  const std::size_t count_at = three ? 80 : 64;
  const std::size_t chars = std::min<std::size_t>(m[count_at], available > count_at + 2 ? available - count_at - 2 : 0);
  line.string("text", std::string(reinterpret_cast<const char*>(m + count_at + 2), chars));
}

void links(DumpLine& line, std::span<const std::uint8_t> record) {
  std::string json = "[";
  std::string txt;
  bool first = true;
  for (const client::Linkage& link : client::read_linkages(record)) {
    if (!first) {
      json += ',';
      txt += ',';
    }
    first = false;
    const char* kind = !link.is_user_data() ? "db" : link.is_database() ? "user-db" : "user";
    json += std::string("{\"kind\":\"") + kind + "\",\"entity\":" + std::to_string(link.entity) +
            ",\"mslink\":" + std::to_string(link.mslink & 0xFFFFFF) +
            ",\"user_id\":" + std::to_string(link.user_id) + ",\"words\":" + std::to_string(link.words) + "}";
    txt += std::string(kind) + ":" + std::to_string(link.entity) + "/" + std::to_string(link.mslink & 0xFFFFFF);
    if (link.is_user_data() && !link.is_database()) txt += "#" + std::to_string(link.user_id);
  }
  line.raw("links", json + "]", txt.empty() ? "-" : txt);
}

DumpLine element_line(std::uint64_t at, std::span<const std::uint8_t> memory, std::size_t available,
                      Dimension dim) {
  const std::uint8_t* m = memory.data();
  const std::uint16_t first = get_word(m, 0);
  const int type = client::element_type(first);
  DumpLine line;
  line.integer("pos", static_cast<std::int64_t>(at));
  line.integer("block", static_cast<std::int64_t>(at / 512));
  line.integer("byte", static_cast<std::int64_t>(at % 512));
  line.integer("type", type);
  line.integer("level", client::element_level(first));
  line.flag("deleted", client::is_deleted(first));
  line.flag("complex", client::is_complex_component(first));
  line.integer("words", get_word(m, 2) + 2);
  line.integer("gg", get_word(m, client::kGraphicGroupOffset));
  const std::uint16_t properties = get_word(m, client::kPropertiesOffset);
  const std::uint16_t symbology = get_word(m, client::kMemorySymbologyOffset);
  line.integer("class", properties & 0xF);
  line.integer("props", properties & 0xFFF0);
  line.integer("style", symbology & 7);
  line.integer("weight", (symbology >> 3) & 31);
  line.integer("color", symbology >> 8);
  std::vector<double> range;
  for (std::size_t i = 0; i < 6; ++i) {
    range.push_back(client::from_scan_format(get_long(m, client::kRangeOffset + 4 * i)));
  }
  line.numbers("range", range);

  const bool header_only = client::is_deleted(first) && client::is_header_only_when_deleted(type);
  if (!header_only) {
    switch (type) {
      case client::element::line: {
        const std::size_t second = dim == Dimension::three ? 52 : 48;
        line.points("vertices", {point_at(m, 40, dim), point_at(m, second, dim)});
        break;
      }
      case client::element::line_string:
      case client::element::shape:
      case client::element::curve:
      case client::element::bspline_pole:
        vertices(line, m, available, dim);
        break;
      case client::element::arc: conic(line, m, true, dim); break;
      case client::element::ellipse: conic(line, m, false, dim); break;
      case client::element::text: text(line, m, available, dim); break;
      case client::element::text_node:
        line.integer("components", get_word(m, 42));
        line.integer("font", m[48]);
        line.integer("just", m[49]);
        line.numbers("origin", point_at(m, dim == Dimension::three ? 80 : 68, dim));
        break;
      case client::element::cell_header:
        line.string("name", dgnmake::radix50_decode({get_word(m, 44), get_word(m, 46)}));
        line.numbers("origin", point_at(m, dim == Dimension::three ? 120 : 92, dim));
        break;
      case client::element::complex_chain:
      case client::element::complex_shape:
        line.integer("total_length", get_word(m, 40));
        line.integer("components", get_word(m, 42));
        break;
      case client::element::bspline_curve:
        line.integer("order", (m[44] & 0x0F) + 2);
        line.flag("closed", (m[44] & 0x80) != 0);
        line.flag("rational", (m[44] & 0x40) != 0);
        line.integer("poles", get_word(m, 46));
        line.integer("knots", get_word(m, 48));
        break;
      case client::element::bspline_knot:
      case client::element::bspline_weight: {
        const std::size_t end = std::min<std::size_t>(available, (get_word(m, 30) + 16u) * 2u);
        std::vector<double> values;
        for (std::size_t at_value = 40; at_value + 4 <= end; at_value += 4) {
          values.push_back(std::round(memory_long(m, at_value) / kUnitFraction * 1e6) / 1e6);
        }
        line.numbers("values", values);
        break;
      }
      default:
        break;
    }
  }
  links(line, memory.first(std::min(memory.size(), available)));
  return line;
}

void header_line(std::span<const std::uint8_t> file, Dimension dim, DumpFormat format,
                 std::ostream& out) {
  DumpLine line;
  line.string("kind", "design");
  line.integer("dimension", dim == Dimension::three ? 3 : 2);
  const std::uint8_t* p = file.data();
  const bool has_tcb = client::element_type(get_word(p, 0)) == client::element::design_header &&
                       file.size() >= dgnmake::kGlobalOriginOffset + 24;
  if (has_tcb) {
    line.integer("subunits_per_master",
                 static_cast<std::int32_t>(client::get_file_long(p, dgnmake::kSubunitsPerMasterOffset)));
    line.integer("uors_per_subunit",
                 static_cast<std::int32_t>(client::get_file_long(p, dgnmake::kUorsPerSubunitOffset)));
    line.string("master", std::string(reinterpret_cast<const char*>(p + dgnmake::kMasterNameOffset), 2));
    line.string("sub", std::string(reinterpret_cast<const char*>(p + dgnmake::kSubNameOffset), 2));
    std::vector<double> origin;
    for (std::size_t axis = 0; axis < 3; ++axis) {
      origin.push_back(client::vax_to_ieee(
          std::span<const std::uint8_t, 8>(p + dgnmake::kGlobalOriginOffset + 8 * axis, 8)));
    }
    line.numbers("origin", origin);
  }
  out << (format == DumpFormat::json ? line.json() : line.text()) << '\n';
}

}  // namespace

int dump_design_file(std::span<const std::uint8_t> file, const std::string& name,
                     DumpFormat format, std::ostream& out, std::ostream& errors) {
  const std::uint16_t first = file.size() >= 2 ? get_word(file.data(), 0) : 0;
  const std::uint16_t masked = first & 0xFF3F;
  if (file.size() < 4 || (masked != 0x0908 && masked != 0x0508)) {
    errors << "dgntool: " << name << ": not a design file\n";
    return kDumpNotDesignFile;
  }
  const Dimension dim = (first & 0xC0) == 0xC0 ? Dimension::three : Dimension::two;
  header_line(file, dim, format, out);
  std::array<std::uint8_t, 1600> memory{};
  std::uint64_t at = 0;
  while (at < file.size()) {
    if (at + 2 > file.size()) break;
    const std::uint16_t word0 = get_word(file.data(), at);
    if (word0 == client::kEndOfDesign) return kDumpOk;
    if (at + 4 > file.size()) break;
    const std::size_t size = (std::size_t{get_word(file.data(), at + 2)} + 2) * 2;
    if (at + size > file.size()) {
      errors << "dgntool: " << name << ": element at " << at << " runs past the end of the file\n";
      return kDumpBadElement;
    }
    const auto record = file.subspan(at, size);
    const std::size_t memory_size = client::file_to_memory(record, memory, dim);
    const DumpLine line = element_line(at, memory, std::min(memory_size, memory.size()), dim);
    out << (format == DumpFormat::json ? line.json() : line.text()) << '\n';
    at += size;
  }
  errors << "dgntool: " << name << ": no end-of-design mark\n";
  return kDumpBadElement;
}

}  // namespace vornel::dgntool
