// Vertex lists used while a complex chain is expanded.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vornel::toolkit::complex {

using Vertex = std::array<int32_t, 3>;  // z is 0 in two-dimensional data
using Vertices = std::vector<Vertex>;

inline bool same_plan(const Vertex& a, const Vertex& b) { return a[0] == b[0] && a[1] == b[1]; }

}  // namespace vornel::toolkit::complex
