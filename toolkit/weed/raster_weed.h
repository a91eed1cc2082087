// The raster weeder for two-dimensional linework traced from pixels:
// extend_verts densifies a chain to pixel spacing, weed_ras_verts then replaces
// the pixel staircase by the midpoints of its steps and keeps the corners.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/weed/weed_limits.h"

namespace vornel::toolkit {

// Inserts points at pixel-size spacing along every segment longer than two
// pixels. `vertices` is the caller's whole buffer (stride 2); the densified
// chain must fit both it and kDensifyMaxVertices, otherwise the chain is left
// as it was and weed_chain_too_long is returned.
int extend_verts(int32_t* last_index, std::span<int32_t> vertices, int32_t pixel_size);

// Replaces runs of equal slope by step midpoints, keeping true corners
// (where both neighbouring steps are longer than a pixel). The result must
// fit the caller's buffer and kRasterWeedMaxVertices, otherwise the chain is
// left as it was and weed_chain_too_long is returned.
int weed_ras_verts(int32_t* last_index, std::span<int32_t> vertices, int32_t pixel_size);

}  // namespace vornel::toolkit
