#pragma once
// The reader's selection criteria and the test an element must pass.

#include <array>
#include <cstdint>

namespace vornel::client {

// Selection flags.
inline constexpr std::uint16_t kSelectLevel = 0x2000;
inline constexpr std::uint16_t kSelectType = 0x4000;
inline constexpr std::uint16_t kSelectGraphicGroup = 0x0010;
inline constexpr std::uint16_t kSelectClass = 0x0008;
inline constexpr std::uint16_t kSelectComplex = 0x0002;
inline constexpr std::uint16_t kDeliverPositions = 0x0080;
inline constexpr std::uint16_t kStopAfterEach = 0x0100;

struct SelectionRecord {
  std::uint16_t length_word = 0x103C;
  std::uint16_t flags = kDeliverPositions | kStopAfterEach;
  std::uint16_t header_value = 0;
  std::uint16_t header_mask = 0;
  // Range bounds as unsigned keys (the scan-format value read high word
  // first): x low, y low, z low, x high, y high, z high.
  std::array<std::uint32_t, 6> range_keys = {0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  std::uint16_t properties_value = 0;
  std::uint16_t properties_mask = 0;
  std::uint16_t graphic_group = 0;
  std::uint32_t start_block = 0;  // wider than a word so large files keep their positions
  std::uint16_t start_byte = 0;
  std::uint16_t class_mask = 0xFFFF;
  std::uint64_t level_mask = ~std::uint64_t{0};  // bit (level - 1), levels 1-64
  std::uint64_t level_mask_high = 0;             // levels 65-128 (bit 6 of the first word)
  std::uint64_t type_mask = ~std::uint64_t{0};   // bit (type - 1), types 1-64
  std::uint16_t more_flags = 0;
};

// A mask given as four little-endian words, lowest bits first.
std::uint64_t mask_from_words(const std::uint16_t* words);

// Whether the file-form element at `element` (at least 36 bytes) passes.
bool passes_selection(const SelectionRecord& selection, const std::uint8_t* element);

}  // namespace vornel::client
