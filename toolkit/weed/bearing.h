// Compass bearing used by the tolerance weeder.
#pragma once

#include <cstdint>

namespace vornel::toolkit {

// Bearing in degrees of the vector (dx, dy), clockwise from +y (-180 .. 180).
// Axis-parallel vectors get 0, 90, 180 or 270, and a zero vector 90.
// Differences of bearings are taken without wrap-around, so the same
// direction can read 270 or -90 depending on how it was reached.
double bearing(int64_t dx, int64_t dy);

}  // namespace vornel::toolkit
