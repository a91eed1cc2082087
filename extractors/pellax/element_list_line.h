// The line -r writes for each selected element instead of its point records.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vornel::pellax {

// "%6d%6d%6d%12d%12d%12d%12d%6d%6d%6d\n": level, block, byte within the
// block, x low, y low, x high, y high (each range value as stored with its
// two words exchanged and the top bit cleared), class, vertex count, type.
std::string element_list_line(std::span<const std::uint8_t> element, std::int32_t position,
                              int vertex_count);

}  // namespace vornel::pellax
