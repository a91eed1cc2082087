#include <algorithm>
#include <cstdio>
#include <vector>

#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/rounding.h"
#include "toolkit/geometry/slope.h"
#include "toolkit/weed/chain_bounds.h"
#include "toolkit/weed/raster_weed.h"

namespace vornel::toolkit {

namespace {

// Number of pixel steps along a segment; points are inserted when above 1.
int64_t pixel_steps(const int32_t* from, const int32_t* to, int32_t pixel_size) {
    return static_cast<int64_t>(distance(from, to, 2) / pixel_size);
}

}  // namespace

int extend_verts(int32_t* last_index, std::span<int32_t> vertices, int32_t pixel_size) {
    const int32_t last = *last_index;
    if (last < 0) return weed_done;
    if (pixel_size <= 0) {
        std::printf("\nRaster pixel size %ld is not positive - chain left undensified\n",
                    static_cast<long>(pixel_size));
        return weed_bad_argument;
    }
    if (!chain_within_array(last, vertices, 2, "Densifying")) return weed_bad_argument;
    const size_t capacity = vertices.size() / 2;
    auto at = [&](int32_t index) { return &vertices[static_cast<size_t>(index) * 2]; };

    // Size the result first so that nothing is written when it cannot fit.
    int64_t needed = 1;
    for (int32_t i = 0; i < last; ++i) {
        const int64_t steps = pixel_steps(at(i), at(i + 1), pixel_size);
        needed += steps > 1 ? steps : 1;
    }
    const int64_t limit = std::min<int64_t>(kDensifyMaxVertices, static_cast<int64_t>(capacity));
    if (needed > limit) {
        std::printf("\nDensified chain of %ld vertices exceeds the limit of %ld - chain left undensified\n",
                    static_cast<long>(needed), static_cast<long>(limit));
        return weed_chain_too_long;
    }

    std::vector<int32_t> out;
    out.reserve(static_cast<size_t>(needed) * 2);
    for (int32_t i = 0; i < last; ++i) {
        const int32_t* p = at(i);
        const int32_t* q = at(i + 1);
        out.push_back(p[0]);
        out.push_back(p[1]);
        const int64_t steps = pixel_steps(p, q, pixel_size);
        if (steps <= 1) continue;
        const float segment_slope = slope(p, q);
        const int64_t sx = p[0] > q[0] ? -1 : 1;
        const int64_t sy = p[1] > q[1] ? -1 : 1;
        const double length = distance(p, q, 2);
        const double dx = static_cast<double>(q[0]) - p[0];
        const double dy = static_cast<double>(q[1]) - p[1];
        for (int64_t j = 1; j < steps; ++j) {
            const int64_t along = j * pixel_size;
            if (segment_slope == 0.0f) {
                out.push_back(static_cast<int32_t>(p[0] + along * sx));
                out.push_back(p[1]);
            } else if (segment_slope >= static_cast<float>(kVerticalSlope)) {
                out.push_back(p[0]);
                out.push_back(static_cast<int32_t>(p[1] + along * sy));
            } else {
                out.push_back(p[0] + truncate_to_int32(static_cast<double>(along) * dx / length));
                out.push_back(p[1] + truncate_to_int32(static_cast<double>(along) * dy / length));
            }
        }
    }
    out.push_back(at(last)[0]);
    out.push_back(at(last)[1]);

    std::copy(out.begin(), out.end(), vertices.begin());
    *last_index = static_cast<int32_t>(out.size() / 2) - 1;
    return weed_done;
}

}  // namespace vornel::toolkit
