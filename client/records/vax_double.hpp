#pragma once
// VAX D-floating <-> IEEE 754 double.
//
// A file-form double is four little-endian words w0 w1 w2 w3; w0 carries the
// sign, an 8-bit exponent biased by 128 (fraction 0.1f) and the top fraction
// bits. The conversion drops the three lowest fraction bits without rounding
// and does not check the exponent range on the way back.

#include <cstdint>
#include <span>

namespace vornel::client {

// Value forms: `vax` is the 8 bytes as they lie in the file.
double vax_to_ieee(std::span<const std::uint8_t, 8> vax);
void ieee_to_vax(double value, std::span<std::uint8_t, 8> vax);

// The library's in-place forms on 8 bytes: file form <-> memory form (the
// memory form is the IEEE double's little-endian bytes).
void convert_double(std::span<std::uint8_t, 8> bytes);
void unconvert_double(std::span<std::uint8_t, 8> bytes);

}  // namespace vornel::client
