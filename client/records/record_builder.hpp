#pragma once
// Builds element records from their fields. The memory form is laid out field
// by field, then the header is filled and the file form derived from it by
// the conversion, so the host and the file maker write the same bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "client/records/element_header.hpp"
#include "client/records/uor_box.hpp"

namespace vornel::client {

// Fixed-point conventions of the element bodies.
std::int32_t text_multiplier(double size_uor);  // size x 1000 / 6
std::int32_t unit_fraction(double value);       // value (held to -1..1) x (2^31 - 1)

// Complex headers (chain, shape, text node): total length word and component
// count in the file form; the memory form has them 4 bytes further on.
inline constexpr std::size_t kComplexTotalLengthOffset = 36;
inline constexpr std::size_t kComplexCountOffset = 38;
// Words of a complex header that its total length leaves out.
inline constexpr std::size_t kComplexUncountedWords = 19;

// Range of a record from its header (both forms); empty for a short record.
UorBox record_range(std::span<const std::uint8_t> record);
// Writes `range` into a header (an empty box as zeros); a short record is left alone.
void set_record_range(std::span<std::uint8_t> record, const UorBox& range);

// What a header carries besides type, range and linkages.
struct RecordAttributes {
  int level = 0;                    // 0-63
  std::uint16_t graphic_group = 0;
  std::uint16_t properties = 0;     // class in bits 0-3, property flags above
  int style = 0;                    // 0-7
  int weight = 0;                   // 0-31
  int color = 0;                    // 0-255
};

// A body's rotation as stored: an angle in 1/360,000 degree in 2-D files, a
// quaternion (w, x, y, z) in unit fractions in 3-D ones.
struct StoredRotation {
  std::int32_t angle = 0;
  std::array<std::int32_t, 4> quaternion{};
};

struct TextFields {
  int font = 0;
  int justification = 0;
  double width = 0;  // character size in UOR
  double height = 0;
  StoredRotation rotation;
  UorPoint origin;
  std::string_view characters;
};

struct TextNodeFields {
  int components = 0;
  std::uint16_t node_number = 0;
  int longest_line = 0;  // characters
  int font = 0;
  int justification = 0;
  std::int32_t line_spacing = 0;
  double width = 0;
  double height = 0;
  StoredRotation rotation;
  UorPoint origin;
};

struct BsplineFields {
  int curve_type = 0;  // 0-7
  int order = 2;       // 2-15
  bool closed = false;
  std::span<const UorPoint> poles;
  std::span<const double> knots;    // interior knots, 0..1; empty: uniform
  std::span<const double> weights;  // empty, or one per pole
};

enum class RecordFault {
  none,
  too_many_words,  // the memory form's words-to-follow passes 0xFFFF
  too_large,       // the file form passes 768 words
};

struct BuiltRecord {
  RecordFault fault = RecordFault::none;
  std::size_t file_bytes = 0;  // size of the whole file form, also when too large
  std::vector<std::uint8_t> memory;
  std::vector<std::uint8_t> file;  // empty after a fault
};

// The memory form of one record, written field by field after its header.
class RecordBuilder {
 public:
  explicit RecordBuilder(Dimension dimension);

  void u8(int value);
  void u16(int value);
  void i32(std::int64_t value);  // its low 32 bits
  void f64(double value);
  void zero(std::size_t bytes);
  void pad_to_word();
  void point(const UorPoint& p);  // z only in 3-D files
  void points(std::span<const UorPoint> points);
  void vertex_list(std::span<const UorPoint> vertices);  // count, zero word, vertices
  void rotation(const StoredRotation& rotation);
  void text(const TextFields& text);
  // A text node header's body; its total length is set by set_complex_total_length.
  void text_node(const TextNodeFields& node);
  // Ellipse (and arc, after its angles): axes, rotation, origin as doubles.
  void ellipse(double primary, double secondary, const StoredRotation& rotation,
               const std::array<double, 3>& origin);
  // A B-spline curve header's body over the file words of its components.
  void bspline_header(const BsplineFields& curve, std::size_t description_words);

  // Fills the header, appends the linkage words and derives the file form.
  // A two-dimensional record's range carries no depth.
  BuiltRecord finish(int type, bool complex_component, const UorBox& range, const RecordAttributes& attributes,
                     std::span<const std::uint16_t> linkage_words);

 private:
  Dimension dimension_;
  std::vector<std::uint8_t> bytes_;
};

// The components that follow a B-spline curve header: poles, then knots and
// weights when given, each on the header's level and symbology without
// linkages. Stops after the first record that does not fit.
std::vector<BuiltRecord> bspline_components(const BsplineFields& curve, const UorBox& range,
                                            const RecordAttributes& attributes, Dimension dimension);

// Total length of a complex header over its components, in both forms of it.
void set_complex_total_length(std::span<std::uint8_t> header_file, std::span<std::uint8_t> header_memory,
                              std::size_t component_file_bytes);

}  // namespace vornel::client
