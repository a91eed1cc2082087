#pragma once
// A design file with nothing but its header: the type-9 header element of
// 768 words and the end-of-design marker. Seeds tests and benchmarks.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vornel::host {

struct HeaderValues {
  bool three_d = false;
  std::int32_t subunits_per_master = 10;
  std::int32_t uors_per_subunit = 1000;
  std::array<double, 3> global_origin{};
};

std::vector<std::uint8_t> header_only_design(const HeaderValues& values);
bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vornel::host
