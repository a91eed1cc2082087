// A point inside a shape, for its centroid marker.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// The point and whether the centre line met the boundary.
struct CentroidPoint {
    int32_t x = 0;
    int32_t y = 0;
    int32_t no_crossing = 0;  // 1 when no boundary crossing was counted above or below the box centre
};

// Computes a point on the vertical line through the centre of the range box
// of vertices 0 .. last_index (stride `dimension`, only x and y read), moved
// along that line so that it falls between two crossings of the boundary.
// This is not the area centroid, but lies inside ordinary outlines. Vertices
// beyond the end of the array are not read. Returns `result`.
CentroidPoint* XYcord_in(CentroidPoint* result, int16_t last_index, std::span<const int32_t> vertices,
                         int16_t dimension, int16_t debug);

}  // namespace vornel::toolkit
