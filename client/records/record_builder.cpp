#include "client/records/record_builder.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "client/records/convert_element.hpp"
#include "client/records/element_words.hpp"
#include "client/records/scan_format.hpp"

namespace vornel::client {

namespace {
constexpr std::uint16_t kAttributesPresent = 0x0800;
constexpr std::size_t kRangeEnd = kRangeOffset + 24;
}  // namespace

std::int32_t text_multiplier(double size_uor) {
  return static_cast<std::int32_t>(std::llround(size_uor * 1000.0 / 6.0));
}

std::int32_t unit_fraction(double value) {
  return static_cast<std::int32_t>(std::llround(std::clamp(value, -1.0, 1.0) * 2147483647.0));
}

UorBox record_range(std::span<const std::uint8_t> record) {
  UorBox box;
  if (record.size() < kRangeEnd) return box;
  std::int64_t low[3], high[3];
  for (std::size_t i = 0; i < 3; ++i) {
    low[i] = from_scan_format(get_long(record.data(), kRangeOffset + 4 * i));
    high[i] = from_scan_format(get_long(record.data(), kRangeOffset + 12 + 4 * i));
  }
  box.add(low[0], low[1], low[2]);
  box.add(high[0], high[1], high[2]);
  return box;
}

void set_record_range(std::span<std::uint8_t> record, const UorBox& range) {
  if (record.size() < kRangeEnd) return;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::int32_t low = range.empty() ? 0 : UorBox::clamp(range.low[i]);
    const std::int32_t high = range.empty() ? 0 : UorBox::clamp(range.high[i]);
    put_long(record.data(), kRangeOffset + 4 * i, to_scan_format(low));
    put_long(record.data(), kRangeOffset + 12 + 4 * i, to_scan_format(high));
  }
}

RecordBuilder::RecordBuilder(Dimension dimension) : dimension_(dimension), bytes_(kMemoryBodyOffset, 0) {}

void RecordBuilder::u8(int value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }

void RecordBuilder::u16(int value) {
  u8(value & 0xFF);
  u8((value >> 8) & 0xFF);
}

void RecordBuilder::i32(std::int64_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  u16(static_cast<int>(u & 0xFFFF));
  u16(static_cast<int>(u >> 16));
}

void RecordBuilder::f64(double value) {
  std::array<std::uint8_t, 8> raw{};
  std::memcpy(raw.data(), &value, raw.size());
  bytes_.insert(bytes_.end(), raw.begin(), raw.end());
}

void RecordBuilder::zero(std::size_t bytes) { bytes_.insert(bytes_.end(), bytes, 0); }

void RecordBuilder::pad_to_word() {
  if (bytes_.size() % 2 != 0) u8(0);
}

void RecordBuilder::point(const UorPoint& p) {
  i32(p.x);
  i32(p.y);
  if (dimension_ == Dimension::three) i32(p.z);
}

void RecordBuilder::points(std::span<const UorPoint> list) {
  for (const UorPoint& p : list) point(p);
}

void RecordBuilder::vertex_list(std::span<const UorPoint> vertices) {
  u16(static_cast<int>(vertices.size()));
  u16(0);
  points(vertices);
}

void RecordBuilder::rotation(const StoredRotation& r) {
  if (dimension_ == Dimension::three) {
    for (std::int32_t v : r.quaternion) i32(v);
  } else {
    i32(r.angle);
  }
}

void RecordBuilder::text(const TextFields& t) {
  u8(t.font);
  u8(t.justification);
  u16(0);
  i32(text_multiplier(t.width));
  i32(text_multiplier(t.height));
  rotation(t.rotation);
  point(t.origin);
  u8(static_cast<int>(t.characters.size()));
  u8(0);  // no enter-data fields
  for (char ch : t.characters) u8(static_cast<unsigned char>(ch));
  pad_to_word();
}

void RecordBuilder::text_node(const TextNodeFields& n) {
  u16(0);  // total length
  u16(n.components);
  u16(n.node_number);
  u8(255);  // maximum characters per line
  u8(n.longest_line);
  u8(n.font);
  u8(n.justification);
  u16(0);
  i32(n.line_spacing);
  i32(text_multiplier(n.width));
  i32(text_multiplier(n.height));
  rotation(n.rotation);
  point(n.origin);
}

void RecordBuilder::ellipse(double primary, double secondary, const StoredRotation& r,
                            const std::array<double, 3>& origin) {
  f64(primary);
  f64(secondary);
  rotation(r);
  if (dimension_ == Dimension::two) zero(4);
  f64(origin[0]);
  f64(origin[1]);
  if (dimension_ == Dimension::three) f64(origin[2]);
}

void RecordBuilder::bspline_header(const BsplineFields& curve, std::size_t description_words) {
  i32(static_cast<std::int64_t>(description_words));
  u8((curve.order - 2) | 0x10 | (curve.weights.empty() ? 0 : 0x40) | (curve.closed ? 0x80 : 0));
  u8(curve.curve_type);
  u16(static_cast<int>(curve.poles.size()));
  u16(static_cast<int>(curve.knots.size()));
  u16(0);
}

BuiltRecord RecordBuilder::finish(int type, bool complex_component, const UorBox& range,
                                  const RecordAttributes& a, std::span<const std::uint16_t> linkage_words) {
  const std::size_t linkage_start = bytes_.size();
  for (std::uint16_t w : linkage_words) u16(w);
  const std::size_t words = bytes_.size() / 2;
  std::uint8_t* p = bytes_.data();
  put_word(p, 0, static_cast<std::uint16_t>((type << 8) | (a.level & kLevelBits) | (complex_component ? kComplexBit : 0)));
  put_word(p, kWordsToFollowOffset, static_cast<std::uint16_t>(std::min<std::size_t>(words - 2, 0xFFFF)));
  UorBox stored = range;
  if (dimension_ == Dimension::two && !stored.empty()) stored.low[2] = stored.high[2] = 0;
  set_record_range(bytes_, stored);
  put_word(p, kGraphicGroupOffset, a.graphic_group);
  put_word(p, kAttributeIndexOffset, static_cast<std::uint16_t>(linkage_start / 2 - 16));
  put_word(p, kPropertiesOffset,
           static_cast<std::uint16_t>(a.properties | (linkage_words.empty() ? 0 : kAttributesPresent)));
  put_word(p, kMemorySymbologyOffset,
           static_cast<std::uint16_t>((a.style & 0x7) | ((a.weight & 0x1F) << 3) | ((a.color & 0xFF) << 8)));

  BuiltRecord built;
  // The builder starts afresh for the next record.
  std::vector<std::uint8_t> memory = std::exchange(bytes_, std::vector<std::uint8_t>(kMemoryBodyOffset, 0));
  // The file form is never longer than the memory form.
  std::vector<std::uint8_t> file(memory.size());
  built.file_bytes = memory_to_file(memory, file, dimension_);
  if (words - 2 > 0xFFFF) built.fault = RecordFault::too_many_words;
  else if (built.file_bytes > kMaxElementBytes) built.fault = RecordFault::too_large;
  if (built.fault != RecordFault::none) return built;
  file.resize(built.file_bytes);
  built.file = std::move(file);
  built.memory = std::move(memory);
  return built;
}

std::vector<BuiltRecord> bspline_components(const BsplineFields& curve, const UorBox& range,
                                            const RecordAttributes& attributes, Dimension dimension) {
  std::vector<BuiltRecord> components;
  RecordBuilder poles(dimension);
  poles.vertex_list(curve.poles);
  components.push_back(poles.finish(element::bspline_pole, true, range, attributes, {}));
  for (const auto& [type, values] : {std::pair{element::bspline_knot, curve.knots},
                                     std::pair{element::bspline_weight, curve.weights}}) {
    if (components.back().fault != RecordFault::none) break;
    if (values.empty()) continue;
    RecordBuilder fractions(dimension);
    for (double v : values) fractions.i32(unit_fraction(v));
    components.push_back(fractions.finish(type, true, range, attributes, {}));
  }
  return components;
}

void set_complex_total_length(std::span<std::uint8_t> header_file, std::span<std::uint8_t> header_memory,
                              std::size_t component_file_bytes) {
  const auto total =
      static_cast<std::uint16_t>((header_file.size() + component_file_bytes) / 2 - kComplexUncountedWords);
  if (header_file.size() >= kComplexTotalLengthOffset + 2) put_word(header_file.data(), kComplexTotalLengthOffset, total);
  if (header_memory.size() >= kMemoryBodyOffset + 2) put_word(header_memory.data(), kMemoryBodyOffset, total);
}

}  // namespace vornel::client
