#include "toolkit/centroid/xycord_in.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/geometry/rounding.h"

namespace vornel::toolkit {

namespace {

// Half of each bound separately, so the sum cannot overflow.
int32_t halfway(int32_t a, int32_t b) { return a / 2 + b / 2; }

// Crossing heights on one side of the box centre, with the two most extreme.
struct Crossings {
    int count = 0;
    int32_t first = 0;   // the most extreme (highest above, lowest below)
    int32_t second = 0;  // the next one, which may equal the first

    void add(int32_t y, bool more_extreme_is_greater) {
        auto beyond = [&](int32_t a, int32_t b) { return more_extreme_is_greater ? a > b : a < b; };
        if (count == 0) {
            first = second = y;
        } else if (count == 1) {
            if (beyond(y, first)) {
                second = first;
                first = y;
            } else {
                second = y;
            }
        } else if (beyond(y, first)) {
            second = first;
            first = y;
        } else if (beyond(y, second)) {
            second = y;
        }
        ++count;
    }
};

}  // namespace

CentroidPoint* XYcord_in(CentroidPoint* result, int16_t last_index, std::span<const int32_t> vertices,
                         int16_t dimension, int16_t debug) {
    const int stride = dimension >= 2 ? dimension : 2;
    const auto available = static_cast<int32_t>(vertices.size() / static_cast<size_t>(stride));
    const int32_t last = std::min<int32_t>(last_index, available - 1);
    auto x = [&](int32_t i) { return vertices[static_cast<size_t>(i) * stride]; };
    auto y = [&](int32_t i) { return vertices[static_cast<size_t>(i) * stride + 1]; };

    int32_t xmin = 2147483647;
    int32_t ymin = 2147483647;
    int32_t xmax = -2147483647;
    int32_t ymax = -2147483647;
    for (int32_t i = 0; i <= last; ++i) {
        xmin = std::min(xmin, x(i));
        ymin = std::min(ymin, y(i));
        xmax = std::max(xmax, x(i));
        ymax = std::max(ymax, y(i));
        if (debug >= 1) {
            std::printf("\nrange %ld %ld %ld %ld", static_cast<long>(xmin), static_cast<long>(ymin),
                        static_cast<long>(xmax), static_cast<long>(ymax));
        }
    }
    const int32_t cx = halfway(xmin, xmax);
    int32_t cy = halfway(ymin, ymax);
    int32_t no_crossing = 1;
    if (debug >= 1) {
        std::printf("\n#verts=%d", static_cast<int>(last_index));
        std::printf("\ncentroid= %d %d", static_cast<int>(cx), static_cast<int>(cy));
        for (int32_t i = 0; i < last; ++i) {
            std::printf("\n %d %ld %ld", static_cast<int>(i), static_cast<long>(x(i)), static_cast<long>(y(i)));
        }
    }

    Crossings above;
    Crossings below;
    for (int32_t f = 0; f < last; ++f) {
        const int32_t x0 = x(f);
        const int32_t x1 = x(f + 1);
        int32_t crossing = 0;
        if ((x0 < cx && cx < x1) || (x1 < cx && cx < x0)) {
            // The slope is divided in single precision, as the rest of the
            // toolkit's float slopes are.
            const float m = static_cast<float>(static_cast<int64_t>(y(f + 1)) - y(f)) /
                            static_cast<float>(static_cast<int64_t>(x1) - x0);
            crossing = truncate_to_int32(static_cast<double>(cx - static_cast<int64_t>(x0)) * m + y(f));
        } else if (cx == x0) {
            crossing = y(f);
        } else {
            continue;
        }
        if (crossing > cy) above.add(crossing, true);
        if (crossing < cy) below.add(crossing, false);
    }

    const int total = above.count + below.count;
    if (total % 2 == 0 && above.count % 2 == 1) {
        no_crossing = 0;
        if (total == 2) cy = halfway(above.first, below.first);
    } else if (above.count >= 2) {
        cy = halfway(above.first, above.second);
        no_crossing = 0;
    } else if (below.count >= 2) {
        cy = halfway(below.first, below.second);
        no_crossing = 0;
    } else if (above.count == 1) {
        cy = halfway(above.first, cy);
        no_crossing = 0;
    } else if (below.count == 1) {
        cy = halfway(below.first, cy);
        no_crossing = 0;
    }
    *result = CentroidPoint{cx, cy, no_crossing};
    return result;
}

}  // namespace vornel::toolkit
