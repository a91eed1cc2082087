#pragma once
// File size of a memory-form element record.

#include <cstdint>

namespace vornel::client {

// Size in words that the memory-form record `element` occupies in the file;
// `dimension_code` is 0 for a two-dimensional file, 1 for three-dimensional.
std::int32_t dgn_size(const std::uint16_t* element, const std::int16_t* dimension_code);

}  // namespace vornel::client
