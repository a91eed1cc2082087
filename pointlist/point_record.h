// One point record of a point list file, and the layouts a run writes it in.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vornel::pointlist {

// Which columns follow the coordinates. A run uses one kind for the whole file.
enum class RecordKind {
  plain,            // position
  node_link,        // position, node link
  flagged,          // position, point flag
  weighted,         // position, point flag, weight
  coordinates_only  // nothing after the coordinates
};

// The point flag of the flagged and weighted kinds.
enum class PointFlag : std::int8_t {
  single = 0,  // the one point of a cell, text node, ellipse or text
  first = 1,   // first point of a linear element
  last = 2,    // last point of a linear element
  interior = 3 // a vertex between first and last: the flag column stays blank
};

struct RecordLayout {
  int dimension = 2;  // 2 or 3: whether a Z column is present
  RecordKind kind = RecordKind::plain;

  friend bool operator==(const RecordLayout&, const RecordLayout&) = default;
};

// Element position of records that can be matched but never edited:
// reference-file elements and interior vertices.
inline constexpr std::int32_t kUneditablePosition = -1;

struct PointRecord {
  std::int32_t y = 0;
  std::int32_t x = 0;
  std::int32_t z = 0;  // only in 3-D layouts
  std::int32_t position = 0;
  PointFlag flag = PointFlag::single;
  std::int32_t weight = 0;
  std::int32_t node_link = 0;

  friend bool operator==(const PointRecord&, const PointRecord&) = default;
};

// Longest line any layout produces for 32-bit values, line feed included.
inline constexpr std::size_t kMaxRecordLength = 96;

// Writes one record as its layout prescribes ("%12.2d" coordinates, " %8d"
// position, ...), line feed included, into `out`. Returns the byte count.
std::size_t format_point_record(const RecordLayout& layout, const PointRecord& record,
                                std::span<char, kMaxRecordLength> out);

// Length of a record of this layout whose values fit their columns, line feed
// included (35 for 2-D plain, 48 for 3-D plain, ...).
std::size_t record_length(const RecordLayout& layout);

// Why a line could not be read as a record of a layout.
enum class ParseError { none, missing_field, bad_number, out_of_range, trailing_text };

std::string_view describe(ParseError error);

// Reads one line (without its line feed) written in `layout`. Fields are
// separated by blanks; numbers wider than their column are accepted, so a
// position of 100,000,000 or more reads back whole.
ParseError parse_point_record(const RecordLayout& layout, std::string_view line,
                              PointRecord& record);

}  // namespace vornel::pointlist
