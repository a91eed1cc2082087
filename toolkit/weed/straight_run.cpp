#include "toolkit/weed/straight_run.h"

namespace vornel::toolkit {

namespace {

// Products of two such values stay below 2^62, so cross and dot products
// are exact in 64 bits.
constexpr int64_t kExactLimit = int64_t{1} << 31;

bool small(int64_t a, int64_t b) { return a < kExactLimit && a > -kExactLimit && b < kExactLimit && b > -kExactLimit; }

}  // namespace

void StraightRun::restart(int32_t anchor, const int32_t* anchor_vertex) {
    end_ = anchor;
    origin_ = {anchor_vertex[0], anchor_vertex[1]};
    direction_ = {0, 0};
    broken_ = false;
}

bool StraightRun::extend_to(int32_t index, const int32_t* vertex, const int32_t* previous) {
    if (broken_) return false;
    if (index <= end_) return true;
    if (index != end_ + 1) {
        broken_ = true;
        return false;
    }
    const int64_t px = vertex[0] - origin_[0];
    const int64_t py = vertex[1] - origin_[1];
    const int64_t ex = static_cast<int64_t>(vertex[0]) - previous[0];
    const int64_t ey = static_cast<int64_t>(vertex[1]) - previous[1];
    if (!small(px, py) || !small(ex, ey)) {
        broken_ = true;
        return false;
    }
    if (direction_[0] == 0 && direction_[1] == 0) {
        // The first step sets the direction; a repeated vertex ends the run.
        if (px == 0 && py == 0) {
            broken_ = true;
            return false;
        }
        direction_ = {px, py};
    } else if (direction_[0] * py - direction_[1] * px != 0 || direction_[0] * ex + direction_[1] * ey <= 0) {
        broken_ = true;
        return false;
    }
    end_ = index;
    return true;
}

}  // namespace vornel::toolkit
