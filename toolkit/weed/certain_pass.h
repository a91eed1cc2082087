// Quick sufficient conditions for intermediate vertices to pass the
// tolerance weeder's offset and angle tests against one chord. Each keeps a
// margin wider than every rounding the exact tests make, so "certain" means
// the exact test passes too; anything else goes to the exact test.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <span>

namespace vornel::toolkit {

// Offset test: the vertex lies within the tolerance of the chord line, with
// its perpendicular foot inside the chord's box.
class OffsetCertainty {
public:
    // Chord from `anchor` to `end`, whose Dslope is `chord_slope`.
    OffsetCertainty(const int32_t* anchor, const int32_t* end, double chord_slope, double tolerance);

    // One vertex.
    bool passes(const int32_t* vertex) const;
    // Every vertex given by its coordinates relative to the anchor, none of
    // whose coordinates exceeds `largest_coordinate` in magnitude.
    bool passes_all(std::span<const double> dx, std::span<const double> dy, double largest_coordinate) const;

private:
    bool precise_enough(double largest_coordinate) const;
    // 0 when the vertex (relative to the anchor) certainly passes, else a
    // positive count; kept branch-free so runs of vertices vectorise.
    double doubts(double dx, double dy) const {
        const double cross = chord_[0] * dy - chord_[1] * dx;
        const double along = dx * chord_[0] + dy * chord_[1];
        return (std::fabs(cross) > cross_limit_ ? 1.0 : 0.0) + (along < along_low_ ? 1.0 : 0.0) +
               (along > along_high_ ? 1.0 : 0.0);
    }

    bool usable_ = false;
    std::array<double, 2> anchor_{};
    std::array<double, 2> chord_{};
    double slope_magnitude_ = 0.0;
    double coordinate_bound_ = 0.0;
    double cross_limit_ = 0.0;  // |cross product| allowed: offset limit x chord length
    double along_low_ = 0.0;    // projection range that keeps the foot inside the box
    double along_high_ = 0.0;
};

// Angle test, second half: the bearing of a vector lies within the
// tolerance of the chord's bearing.
class BearingCone {
public:
    BearingCone(double chord_bearing, double tolerance);

    // For the vector (dx, dy) of an intermediate vertex minus the chord end.
    bool contains(int64_t dx, int64_t dy) const {
        return usable_ && doubts(static_cast<double>(dx), static_cast<double>(dy)) == 0.0;
    }
    // For every intermediate vertex given relative to the anchor, with the
    // chord end at (end_dx, end_dy) relative to the anchor.
    bool contains_all(std::span<const double> dx, std::span<const double> dy, double end_dx, double end_dy) const;

private:
    // 0 when the vector certainly lies inside the cone, else a positive
    // count. Axis-parallel vectors get fixed bearings (0, 90, 180, 270) that
    // are checked exactly; others must lie clockwise of the low edge and
    // anticlockwise of the high edge.
    double doubts(double x, double y) const {
        return (x == 0.0 ? 1.0 : 0.0) + (y == 0.0 ? 1.0 : 0.0) +
               (low_edge_[0] * y - low_edge_[1] * x < 0.0 ? 0.0 : 1.0) +
               (high_edge_[0] * y - high_edge_[1] * x > 0.0 ? 0.0 : 1.0);
    }

    bool usable_ = false;
    std::array<double, 2> low_edge_{};
    std::array<double, 2> high_edge_{};
};

}  // namespace vornel::toolkit
