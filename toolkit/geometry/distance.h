// Distances between vertices and lengths of vertex chains.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// Straight distance between two vertices; the z difference counts only when
// the dimension is 3.
double distance(const int32_t* a, const int32_t* b, int16_t dimension);

// Length of the first `count` vertices of a chain stored with stride
// `dimension`, measured in that dimension (3 gives the length in space).
// A count below 2, or a dimension other than 2 or 3, gives 0; vertices beyond
// the end of the array are not read.
double tot_distance(int32_t count, std::span<const int32_t> vertices, int16_t dimension);

// Plan length (x and y only) of the first `count` vertices of a chain stored
// with the given stride.
double tot_Hdistance(int32_t count, std::span<const int32_t> vertices, int16_t stride);

}  // namespace vornel::toolkit
