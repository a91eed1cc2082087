// Work-array bounds and results shared by the weeders.
#pragma once

#include <cstdint>

namespace vornel::toolkit {

// Longest chain the tolerance weeders accept (one keep flag per vertex).
inline constexpr int32_t kWeedMaxVertices = 25000;
// Longest chain extend_verts may produce.
inline constexpr int32_t kDensifyMaxVertices = 37500;
// Longest chain weed_ras_verts may produce.
inline constexpr int32_t kRasterWeedMaxVertices = 25000;

// What a weeder returns. On any value but weed_done the caller's vertex array
// and last index are exactly as they were passed.
enum WeedResult : int {
    weed_done = 0,
    weed_chain_too_long = 1,  // the work arrays or the caller's array cannot hold the result
    weed_bad_argument = 2,    // a pixel size of zero or less, an array shorter than the last index
};

}  // namespace vornel::toolkit
