#pragma once
// How the body of each element type maps between the file and memory forms.
//
// Every layout is a run of segments walked in the same order over both forms:
// the memory form is the file form with zero words inserted, 32-bit integers
// word-swapped and doubles in IEEE form. The header (first 36 file bytes) is
// the first part of every converted layout.

#include <array>
#include <cstdint>

#include "client/records/element_header.hpp"

namespace vornel::client {

enum class SegmentKind : std::uint8_t {
  copy,        // `count` bytes unchanged
  zero,        // `count` zero bytes present only in the memory form
  longs,       // `count` 32-bit integers, word-swapped
  doubles,     // `count` doubles, VAX D <-> IEEE
  vertices,    // 16-bit vertex count, a memory-only zero word, then
               // dimension x count 32-bit integers
  rest,        // everything to the end of the record, unchanged
  rest_longs,  // every 32-bit value to the end of the record, word-swapped
};

struct Segment {
  SegmentKind kind;
  std::uint16_t count;
};

inline constexpr std::size_t kMaxSegments = 12;

struct BodyLayout {
  bool converted = false;  // false: the record is identical in both forms
  std::uint16_t growth_words = 0;
  std::uint8_t segment_count = 0;
  std::array<Segment, kMaxSegments> segments{};
};

// The layout for an element with this first word in a file of this
// dimension. Deleted complex headers get the header-only layout.
const BodyLayout& body_layout(std::uint16_t first_word, Dimension dimension);

}  // namespace vornel::client
