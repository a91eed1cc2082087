// The header fields of an element in memory form that the join reads.
#pragma once

#include <cstdint>

#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"

namespace vornel::joiner {

struct ElementFields {
  const std::uint8_t* bytes;

  std::uint16_t first_word() const { return client::get_word(bytes, 0); }
  int type() const { return client::element_type(first_word()); }
  int level() const { return client::element_level(first_word()); }
  bool deleted() const { return client::is_deleted(first_word()); }
  std::uint16_t words_to_follow() const { return client::get_word(bytes, 2); }
  // A range Z word pair (scan format, high word first) put in order, bit 31 cleared.
  std::int32_t range_z(std::size_t offset) const {
    const std::uint32_t value = (std::uint32_t{client::get_word(bytes, offset)} << 16) |
                                client::get_word(bytes, offset + 2);
    return static_cast<std::int32_t>(value & 0x7FFFFFFFu);
  }
  std::int32_t low_z() const { return range_z(12); }
  std::int32_t high_z() const { return range_z(24); }
  std::uint16_t graphic_group() const { return client::get_word(bytes, client::kGraphicGroupOffset); }
  int element_class() const { return client::get_word(bytes, client::kPropertiesOffset) & 0x0F; }
  std::uint16_t symbology() const { return client::get_word(bytes, client::kMemorySymbologyOffset); }
  int style() const { return symbology() & 0x07; }
  int weight() const { return (symbology() >> 3) & 0x1F; }
  int color() const { return symbology() >> 8; }
};

// Cells, text nodes, ellipses and texts: they end walks and are never joined.
constexpr bool is_point_element(int type) { return type == 2 || type == 7 || type == 15 || type == 17; }

}  // namespace vornel::joiner
