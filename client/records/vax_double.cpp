#include "client/records/vax_double.hpp"

#include <bit>
#include <cstring>

#include "client/records/element_words.hpp"

namespace vornel::client {

double vax_to_ieee(std::span<const std::uint8_t, 8> vax) {
  std::uint32_t hi = get_file_long(vax.data(), 0);
  std::uint32_t lo = get_file_long(vax.data(), 4);
  const std::uint32_t sign = hi & 0x80000000U;
  hi &= 0x7FFFFFFFU;
  lo = (lo >> 3) | (hi << 29);
  hi >>= 3;
  if (hi != 0) hi += 0x37E00000U;  // exponent bias 128 (0.1f) -> 1023 (1.f)
  hi |= sign;
  return std::bit_cast<double>((static_cast<std::uint64_t>(hi) << 32) | lo);
}

void ieee_to_vax(double value, std::span<std::uint8_t, 8> vax) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto top = static_cast<std::uint32_t>(bits >> 48);
  std::uint32_t exponent = top & 0x7FF0U;
  std::uint32_t sign = 0;
  if (exponent != 0) {
    exponent = ((exponent >> 4) - 0x37EU) << 7;
    sign = top & 0x8000U;
  }
  // 52-bit fraction shifted left by 3 fills the 55 fraction bits of D-floating.
  // An IEEE zero or denormal is written as a clean VAX zero.
  const std::uint64_t fraction = exponent == 0 ? 0 : (bits & 0x000FFFFFFFFFFFFFULL) << 3;
  std::uint32_t hi = static_cast<std::uint32_t>(fraction >> 32) & 0x007FFFFFU;
  const auto lo = static_cast<std::uint32_t>(fraction & 0xFFFFFFFFU);
  hi |= ((exponent | sign) & 0xFFFFU) << 16;
  put_file_long(vax.data(), 0, hi);
  put_file_long(vax.data(), 4, lo);
}

void convert_double(std::span<std::uint8_t, 8> bytes) {
  const double value = vax_to_ieee(bytes);
  std::memcpy(bytes.data(), &value, 8);
}

void unconvert_double(std::span<std::uint8_t, 8> bytes) {
  double value = 0;
  std::memcpy(&value, bytes.data(), 8);
  ieee_to_vax(value, bytes);
}

}  // namespace vornel::client
