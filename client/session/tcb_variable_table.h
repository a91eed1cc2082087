#pragma once
// The TCB variable table: which bytes of the host's TCB hold a variable,
// found by the variable's Radix-50 name. Loaded from the host's resource file
// at open time.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vornel::session {

struct TcbVariableEntry {
  std::array<std::uint16_t, 2> name{};  // Radix-50
  std::uint16_t offset = 0;
  std::uint16_t type = 0;  // only type 1 can be read
  std::uint16_t size = 0;  // bytes
};

inline constexpr std::uint16_t kReadableType = 1;

// Decodes the "UcmV" resource: a 4-byte head whose second word is the entry
// count, then 20-byte records. False when it is short or a name is not
// Radix-50.
bool decode_tcb_variables(std::span<const std::uint8_t> resource, std::vector<TcbVariableEntry>& table);

// Element size of a format word's code (bits 0-3).
std::uint16_t element_size(std::uint32_t format_word);

}  // namespace vornel::session
