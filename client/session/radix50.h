#pragma once
// Radix-50: three characters in a 16-bit word, w = (c1 * 40 + c2) * 40 + c3.
// Codes: space 0, A-Z 1-26, '$' 27, '.' 28, '?' and '_' 29, 0-9 30-39.

#include <array>
#include <cstdint>
#include <string_view>

namespace vornel::session {

struct Radix50Name {
  std::array<std::uint16_t, 2> words{};
  int status = 0;  // 930 when a character has no code (it counts as 0)
};

// Encodes a name cut or padded with spaces to 6 characters.
Radix50Name encode_radix50(std::string_view name);

}  // namespace vornel::session
