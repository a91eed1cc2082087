#pragma once
// Builds the file form of described elements through the records library's
// record builder, the one the host places elements with, so the file maker
// writes exactly what the host will.

#include <cstdint>
#include <vector>

#include "tools/dgnmake/description.hpp"

namespace vornel::dgnmake {

// File-form bytes of `spec` followed by its components. Throws
// DescriptionError when a record would exceed 768 words.
std::vector<std::uint8_t> encode_element(const ElementSpec& spec, client::Dimension dimension);

// Fixed-point conventions of the described angles (the other conventions are
// the records library's).
std::int32_t angle_units(double degrees);         // 1/360,000 degree
std::uint32_t signed_magnitude(std::int32_t value);  // arc sweep angles

}  // namespace vornel::dgnmake
