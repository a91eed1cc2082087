#pragma once
// The range encoding of element records and the 32-bit word swap.
//
// A range value is stored with its sign bit inverted and its two 16-bit halves
// exchanged, so that, read high word first, ranges compare as unsigned numbers.

#include <cstdint>

namespace vornel::client {

constexpr std::uint32_t exchange_halves(std::uint32_t v) { return (v << 16) | (v >> 16); }

constexpr std::uint32_t to_scan_format(std::int32_t v) {
  return exchange_halves(static_cast<std::uint32_t>(v) ^ 0x80000000U);
}

constexpr std::int32_t from_scan_format(std::uint32_t v) {
  return static_cast<std::int32_t>(exchange_halves(v) ^ 0x80000000U);
}

// The library's in-place forms.
void scan_fmt(std::int32_t* value);
void un_scan_fmt(std::int32_t* value);
// Exchanges the two 16-bit halves: file-form 32-bit integer <-> memory form.
void swap_word(std::int32_t* value);

}  // namespace vornel::client
