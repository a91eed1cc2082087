#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/slope.h"
#include "toolkit/weed/chain_bounds.h"
#include "toolkit/weed/raster_weed.h"

namespace vornel::toolkit {

namespace {

using Point = std::array<int32_t, 2>;

// Midpoint with each half an integer division, truncated toward zero.
Point midpoint(const int32_t* p, const int32_t* q) { return {p[0] / 2 + q[0] / 2, p[1] / 2 + q[1] / 2}; }

// Slope in hundredths, truncated: the product of a float and 100 is exact in
// double, so the truncation is never disturbed by rounding.
int64_t slope_class(const Point& a, const Point& b) {
    return static_cast<int64_t>(100.0 * static_cast<double>(slope(a.data(), b.data())));
}

bool differs_by_more_than_one(int64_t a, int64_t b) { return a < b - 1 || a > b + 1; }

// Output buffer that refuses to grow beyond its bound.
class BoundedPoints {
public:
    explicit BoundedPoints(size_t limit) : limit_(limit) {}
    bool set(size_t index, const Point& p) {
        if (index >= limit_) return false;
        if (index >= points_.size()) points_.resize(index + 1);
        points_[index] = p;
        return true;
    }
    const Point& operator[](size_t index) const { return points_[index]; }
    Point& operator[](size_t index) { return points_[index]; }

private:
    size_t limit_;
    std::vector<Point> points_;
};

}  // namespace

int weed_ras_verts(int32_t* last_index, std::span<int32_t> vertices, int32_t pixel_size) {
    const int32_t last = *last_index;
    if (last < 1) return weed_done;  // a single vertex has no step to weed
    if (!chain_within_array(last, vertices, 2, "Raster weeding")) return weed_bad_argument;
    const size_t capacity = vertices.size() / 2;
    auto v = [&](int32_t index) { return &vertices[static_cast<size_t>(index) * 2]; };
    auto step_is_long = [&](int32_t i) { return distance(v(i - 1), v(i), 2) > pixel_size; };

    const size_t limit = std::min<size_t>(kRasterWeedMaxVertices, capacity);
    BoundedPoints out(limit);
    bool fits = out.set(0, {v(0)[0], v(0)[1]}) && out.set(1, midpoint(v(0), v(1)));
    int64_t current_slope = fits ? slope_class(out[1], out[0]) : 0;
    bool current_long = step_is_long(1);
    size_t k = 2;

    for (int32_t i = 2; i <= last && fits; ++i) {
        fits = out.set(k, midpoint(v(i - 1), v(i)));
        if (!fits) break;
        const int64_t previous_slope = current_slope;
        const bool previous_long = current_long;
        current_long = step_is_long(i);
        current_slope = slope_class(out[k], out[k - 1]);
        if (differs_by_more_than_one(previous_slope, current_slope)) {
            if (previous_long && current_long) {
                // A true corner between two long steps: keep the vertex itself.
                out[k] = {v(i - 1)[0], v(i - 1)[1]};
                ++k;
                fits = out.set(k, midpoint(v(i - 1), v(i)));
                current_slope = 99999;
            }
            ++k;
        } else {
            out[k - 1] = out[k];
        }
    }
    if (fits) fits = out.set(k, {v(last)[0], v(last)[1]});
    if (!fits) {
        std::printf("\nRaster weeding needs more than %ld vertices - chain left unweeded\n",
                    static_cast<long>(limit));
        return weed_chain_too_long;
    }

    if (!differs_by_more_than_one(slope_class(out[k - 1], out[k - 2]), slope_class(out[k], out[k - 1]))) {
        out[k - 1] = out[k];
        --k;
    }
    for (size_t n = 0; n <= k; ++n) {
        vertices[n * 2] = out[n][0];
        vertices[n * 2 + 1] = out[n][1];
    }
    *last_index = static_cast<int32_t>(k);
    return weed_done;
}

}  // namespace vornel::toolkit
