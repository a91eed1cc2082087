#pragma once
// Builds the file form of described elements: the memory form is laid out
// first, then turned into the file form by the records library, so the
// builder writes exactly what the host will.

#include <cstdint>
#include <vector>

#include "tools/dgnmake/description.hpp"

namespace vornel::dgnmake {

// File-form bytes of `spec` followed by its components. Throws
// DescriptionError when a record would exceed 768 words.
std::vector<std::uint8_t> encode_element(const ElementSpec& spec, client::Dimension dimension);

// Fixed-point conventions of the element bodies.
std::int32_t angle_units(double degrees);         // 1/360,000 degree
std::int32_t text_multiplier(double size_uor);    // size x 1000 / 6
std::int32_t unit_fraction(double value);         // value x (2^31 - 1)
std::uint32_t signed_magnitude(std::int32_t value);  // arc sweep angles

}  // namespace vornel::dgnmake
