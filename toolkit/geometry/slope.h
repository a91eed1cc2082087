// Slope of a segment between two integer vertices.
#pragma once

#include <cstdint>

namespace vornel::toolkit {

// Slope given to a vertical segment. Callers test for it by exact equality,
// so a genuine slope of exactly this value also counts as vertical.
inline constexpr double kVerticalSlope = 99999.0;

// (a.y - b.y) / (a.x - b.x) with both differences taken as 32-bit integers and
// divided in single precision; kVerticalSlope when a.x == b.x.
float slope(const int32_t* a, const int32_t* b);

// The same in double precision throughout.
double Dslope(const int32_t* a, const int32_t* b);

}  // namespace vornel::toolkit
