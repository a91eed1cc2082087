#include "extractors/pellax/element_list_line.h"

#include <array>
#include <cstdio>

#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"

namespace vornel::pellax {
namespace {

int range_value(std::span<const std::uint8_t> e, std::size_t index) {
  const std::uint32_t stored = client::get_long(e.data(), client::kRangeOffset + 4 * index);
  const std::uint32_t exchanged = (stored << 16) | (stored >> 16);
  return static_cast<int>(exchanged & 0x7FFFFFFFU);
}

}  // namespace

std::string element_list_line(std::span<const std::uint8_t> element, std::int32_t position,
                              int vertex_count) {
  const std::uint16_t first = client::get_word(element.data(), 0);
  const int properties = client::get_word(element.data(), client::kPropertiesOffset);
  const auto offset = static_cast<std::uint32_t>(position);
  std::array<char, 128> line{};
  const int n = std::snprintf(line.data(), line.size(), "%6d%6d%6d%12d%12d%12d%12d%6d%6d%6d\n",
                              client::element_level(first), static_cast<int>(offset / 512),
                              static_cast<int>(offset % 512), range_value(element, 0),
                              range_value(element, 1), range_value(element, 3),
                              range_value(element, 4), properties & 0xF, vertex_count,
                              client::element_type(first));
  return std::string(line.data(), static_cast<std::size_t>(std::max(n, 0)));
}

}  // namespace vornel::pellax
