#include "host/header_only_design.h"

#include "client/records/element_words.hpp"
#include "client/records/vax_double.hpp"

#include <fstream>
#include <span>

namespace vornel::host {

std::vector<std::uint8_t> header_only_design(const HeaderValues& values) {
  std::vector<std::uint8_t> bytes(1536 + 2, 0);
  client::put_word(bytes.data(), 0, values.three_d ? 0x09C8 : 0x0908);
  client::put_word(bytes.data(), 2, 766);
  client::put_file_long(bytes.data(), 1112, static_cast<std::uint32_t>(values.subunits_per_master));
  client::put_file_long(bytes.data(), 1116, static_cast<std::uint32_t>(values.uors_per_subunit));
  bytes[1120] = 'm';
  bytes[1122] = 'c';
  bytes[1123] = 'm';
  for (std::size_t axis = 0; axis < 3; ++axis)
    client::ieee_to_vax(values.global_origin[axis], std::span<std::uint8_t, 8>(bytes.data() + 1240 + 8 * axis, 8));
  client::put_word(bytes.data(), 1536, 0xffff);
  return bytes;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace vornel::host
