#pragma once
// Radix-50: three characters in a 16-bit word (cell names).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vornel::dgnmake {

// Encodes up to six characters, padded with spaces; characters outside the
// alphabet count as spaces.
std::array<std::uint16_t, 2> radix50_encode(std::string_view name);
std::string radix50_decode(const std::array<std::uint16_t, 2>& words);

}  // namespace vornel::dgnmake
