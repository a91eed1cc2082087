#pragma once
// The host's TCB layout as clients see it by name: each variable's TCB
// offset, type and element size. The table is shipped to clients in
// dgnhost.rsc (resource "UcmV" 1).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vornel::host {

// Offsets of our TCB beyond those the client reads directly (tcb_layout.h).
namespace tcb_offset {
inline constexpr std::size_t kSubunitsPerMaster = 1112;  // 32-bit
inline constexpr std::size_t kUorsPerSubunit = 1116;     // 32-bit
inline constexpr std::size_t kMasterUnitName = 1120;     // 2 characters
inline constexpr std::size_t kSubUnitName = 1122;        // 2 characters
inline constexpr std::size_t kGlobalOrigin = 1240;       // 3 doubles, X Y Z
inline constexpr std::size_t kGraphicGroup = 1336;       // 16-bit next graphic group number
}  // namespace tcb_offset

struct TcbVariable {
  const char* name;          // at most 6 characters
  std::uint8_t type;         // 1: readable by clients
  std::uint32_t offset;
  std::uint32_t format;      // bits 0-3 element size code, bits 4-15 element count
};

// Element size codes of the format word.
inline constexpr std::uint32_t kSize1 = 1, kSize2 = 2, kSize4 = 3, kSize8 = 4;
constexpr std::uint32_t format_word(std::uint32_t size_code, std::uint32_t count) {
  return size_code | (count << 4);
}

std::span<const TcbVariable> tcb_variables();

// The "UcmV" resource: a 4-byte head (second word the entry count), then a
// 20-byte record per variable.
std::vector<std::uint8_t> tcb_variable_resource();

}  // namespace vornel::host
