#include "client/reader/selection_record.hpp"

#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"

namespace vornel::client {

std::uint64_t mask_from_words(const std::uint16_t* words) {
  std::uint64_t mask = 0;
  for (int i = 0; i < 4; ++i) mask |= std::uint64_t{words[i]} << (16 * i);
  return mask;
}

bool passes_selection(const SelectionRecord& s, const std::uint8_t* element) {
  const std::uint16_t first = get_word(element, 0);
  if ((first & s.header_mask) != s.header_value) return false;
  if ((s.flags & kSelectType) != 0) {
    const int type = element_type(first);
    if (type < 1 || type > 64 || ((s.type_mask >> (type - 1)) & 1U) == 0) return false;
  }
  if ((s.flags & kSelectLevel) != 0) {
    int level = first & 0x7F;
    if (level == 0) level = 64;
    const std::uint64_t mask = level <= 64 ? s.level_mask : s.level_mask_high;
    if (((mask >> ((level - 1) % 64)) & 1U) == 0) return false;
  }
  if ((s.flags & kSelectClass) != 0) {
    const std::uint16_t properties = get_word(element, kPropertiesOffset);
    if ((((properties & s.properties_mask) ^ s.properties_value) & 0xFFF0) != 0) return false;
    if (((s.class_mask >> (properties & 0xF)) & 1U) == 0) return false;
  }
  if ((s.flags & kSelectGraphicGroup) != 0 &&
      get_word(element, kGraphicGroupOffset) != s.graphic_group) {
    return false;
  }
  for (std::size_t axis = 0; axis < 3; ++axis) {
    const std::uint32_t low = get_file_long(element, kRangeOffset + 4 * axis);
    const std::uint32_t high = get_file_long(element, kRangeOffset + 12 + 4 * axis);
    if (low > s.range_keys[axis + 3] || high < s.range_keys[axis]) return false;
  }
  return true;
}

}  // namespace vornel::client
