#include "host/tcb_variables.h"

#include "client/connection/tcb_layout.h"

#include <cstring>

namespace vornel::host {

namespace {

constexpr std::uint8_t kReadable = 1;

constexpr TcbVariable kVariables[] = {
    {"GRAFIC", kReadable, tcb_offset::kGraphicGroup, format_word(kSize2, 1)},
    {"NDICES", kReadable, tcb::kDimension, format_word(kSize2, 1)},
    {"EU.MU", kReadable, tcb_offset::kSubunitsPerMaster, format_word(kSize4, 1)},
    {"EU.UOR", kReadable, tcb_offset::kUorsPerSubunit, format_word(kSize4, 1)},
    {"GOXUOR", kReadable, tcb_offset::kGlobalOrigin, format_word(kSize8, 1)},
    {"GOYUOR", kReadable, tcb_offset::kGlobalOrigin + 8, format_word(kSize8, 1)},
    {"GOZUOR", kReadable, tcb_offset::kGlobalOrigin + 16, format_word(kSize8, 1)},
    {"MUNAME", kReadable, tcb_offset::kMasterUnitName, format_word(kSize1, 2)},
    {"SUNAME", kReadable, tcb_offset::kSubUnitName, format_word(kSize1, 2)},
    {"ACTCLS", kReadable, tcb::kActiveClass, format_word(kSize2, 1)},
    {"ACTSYM", kReadable, tcb::kActiveSymbology, format_word(kSize4, 1)},
    {"ACTLST", kReadable, tcb::kLineStyle, format_word(kSize4, 1)},
};

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  put16(out, at, static_cast<std::uint16_t>(v));
  put16(out, at + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

std::span<const TcbVariable> tcb_variables() { return kVariables; }

std::vector<std::uint8_t> tcb_variable_resource() {
  constexpr std::size_t kRecord = 20;
  std::span<const TcbVariable> table = tcb_variables();
  std::vector<std::uint8_t> out(4 + kRecord * table.size(), 0);
  put16(out, 2, static_cast<std::uint16_t>(table.size()));
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::size_t at = 4 + kRecord * i;
    std::memcpy(out.data() + at, table[i].name, std::strlen(table[i].name));  // NUL-padded to 7
    out[at + 7] = table[i].type;
    put32(out, at + 8, table[i].offset);
    put32(out, at + 12, table[i].format);
  }
  return out;
}

}  // namespace vornel::host
