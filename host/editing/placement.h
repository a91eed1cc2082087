#pragma once
// What every placed element carries besides its geometry: level, graphic
// group, class, symbology and the attribute linkages given with the request.

#include <cstdint>
#include <vector>

namespace vornel::host::editing {

struct Placement {
  int level = 0;                      // 0-63
  std::uint16_t graphic_group = 0;
  std::uint16_t element_class = 0;    // low 4 bits of the properties
  std::uint16_t style = 0;            // 0-7
  std::uint16_t weight = 0;           // 0-31
  std::uint16_t color = 0;            // 0-255
  std::vector<std::uint16_t> linkages;  // words, linkages back to back
};

}  // namespace vornel::host::editing
