#pragma once
// Fields of the element header shared by the file and the memory form.

#include <cstddef>
#include <cstdint>

namespace vornel::client {

// Byte offsets of the header fields (both forms).
inline constexpr std::size_t kWordsToFollowOffset = 2;
inline constexpr std::size_t kRangeOffset = 4;
inline constexpr std::size_t kGraphicGroupOffset = 28;
inline constexpr std::size_t kAttributeIndexOffset = 30;
inline constexpr std::size_t kPropertiesOffset = 32;
inline constexpr std::size_t kFileSymbologyOffset = 34;
inline constexpr std::size_t kMemorySymbologyOffset = 36;
inline constexpr std::size_t kFileBodyOffset = 36;
inline constexpr std::size_t kMemoryBodyOffset = 40;

// First-word bits.
inline constexpr std::uint16_t kLevelBits = 0x003F;
inline constexpr std::uint16_t kComplexBit = 0x0080;
inline constexpr std::uint16_t kDeletedBit = 0x8000;
inline constexpr std::uint16_t kEndOfDesign = 0xFFFF;

// Size limits: the conversions take at most 768 words of an element.
inline constexpr std::uint16_t kMaxWordsToFollow = 766;
inline constexpr std::size_t kMaxElementBytes = 1536;

enum class Dimension : std::uint8_t { two = 2, three = 3 };

constexpr int element_type(std::uint16_t first_word) { return (first_word >> 8) & 0x7F; }
constexpr int element_level(std::uint16_t first_word) { return first_word & kLevelBits; }
constexpr bool is_deleted(std::uint16_t first_word) { return (first_word & kDeletedBit) != 0; }
constexpr bool is_complex_component(std::uint16_t first_word) {
  return (first_word & kComplexBit) != 0;
}

// Types converted as a bare header when deleted: the symbology moves, the rest
// of the record is copied and its words-to-follow stays as in the file.
constexpr bool is_header_only_when_deleted(int type) {
  switch (type) {
    case 0: case 1: case 2: case 7: case 12: case 14:
    case 18: case 19: case 24: case 27: case 34: case 87:
      return true;
    default:
      return false;
  }
}

// Element type codes the system handles.
namespace element {
inline constexpr int cell_header = 2;
inline constexpr int line = 3;
inline constexpr int line_string = 4;
inline constexpr int group_data = 5;
inline constexpr int shape = 6;
inline constexpr int text_node = 7;
inline constexpr int design_header = 9;
inline constexpr int curve = 11;
inline constexpr int complex_chain = 12;
inline constexpr int complex_shape = 14;
inline constexpr int ellipse = 15;
inline constexpr int arc = 16;
inline constexpr int text = 17;
inline constexpr int bspline_pole = 21;
inline constexpr int bspline_knot = 26;
inline constexpr int bspline_curve = 27;
inline constexpr int bspline_weight = 28;
}  // namespace element

}  // namespace vornel::client
