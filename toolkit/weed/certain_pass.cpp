#include "toolkit/weed/certain_pass.h"

#include <algorithm>
#include <cmath>

#include "toolkit/geometry/slope.h"

namespace vornel::toolkit {

namespace {

// Relative precision of a double, with room for a few operations.
constexpr double kUnit = 2.3e-16;
// Largest error allowed in the exact test's computed foot before the quick
// test stands aside.
constexpr double kFootError = 0.01;
// Degrees kept clear of the tolerance: far above the rounding of bearings
// (a few units in the 14th digit), far below any tolerance of practical use.
constexpr double kBearingMargin = 1e-7;
// The bearing scale: degrees per radian as the weeder computes bearings.
constexpr double kDegreesPerRadian = 360.0 / 6.2831853;
constexpr double kPi = 3.14159265358979323846;

}  // namespace

OffsetCertainty::OffsetCertainty(const int32_t* anchor, const int32_t* end, double chord_slope, double tolerance) {
    const double cx = static_cast<double>(end[0]) - anchor[0];
    const double cy = static_cast<double>(end[1]) - anchor[1];
    const double length_squared = cx * cx + cy * cy;
    // A genuine slope of exactly the vertical value is treated as vertical by
    // the exact test, which then uses another foot than the perpendicular one.
    const bool sentinel_slope = chord_slope == kVerticalSlope && cx != 0.0;
    // The rounded foot lies within 0.5 of the exact foot in each axis, so
    // within 0.71 (plus the foot's own error) in distance.
    limit_ = tolerance - 0.75;
    usable_ = length_squared > 0.0 && !sentinel_slope && limit_ >= 0.0;
    if (!usable_) return;
    slope_magnitude_ = std::fabs(chord_slope) == kVerticalSlope ? 0.0 : std::fabs(chord_slope);
    anchor_ = {static_cast<double>(anchor[0]), static_cast<double>(anchor[1])};
    chord_ = {cx, cy};
    inverse_length_squared_ = 1.0 / length_squared;
    inverse_length_ = std::sqrt(inverse_length_squared_);
    coordinate_bound_ = std::max({std::fabs(anchor_[0]), std::fabs(anchor_[1]), std::fabs(static_cast<double>(end[0])),
                                  std::fabs(static_cast<double>(end[1]))});
    for (int c = 0; c < 2; ++c) {
        // Rounded half away from zero, a foot stays inside the inclusive box
        // while the exact foot is less than 0.5 outside it.
        low_[c] = std::min<double>(anchor[c], end[c]) - 0.48;
        high_[c] = std::max<double>(anchor[c], end[c]) + 0.48;
    }
}

bool OffsetCertainty::passes(const int32_t* vertex) const {
    if (!usable_) return false;
    // The exact test computes its foot from the chord slope and intercepts;
    // with a steep slope and large coordinates that loses precision, and the
    // quick answer could then differ.
    const double bound = std::max({coordinate_bound_, std::fabs(static_cast<double>(vertex[0])),
                                   std::fabs(static_cast<double>(vertex[1]))});
    if (kUnit * bound * (16.0 * std::max(slope_magnitude_, 1.0) + 4.0) > kFootError) return false;

    const double rx = vertex[0] - anchor_[0];
    const double ry = vertex[1] - anchor_[1];
    const double offset = std::fabs(chord_[0] * ry - chord_[1] * rx) * inverse_length_;
    if (offset > limit_) return false;
    const double along = (rx * chord_[0] + ry * chord_[1]) * inverse_length_squared_;
    const double fx = anchor_[0] + along * chord_[0];
    const double fy = anchor_[1] + along * chord_[1];
    return fx >= low_[0] && fx <= high_[0] && fy >= low_[1] && fy <= high_[1];
}

BearingCone::BearingCone(double chord_bearing, double tolerance) {
    const double half_width = tolerance - kBearingMargin;
    if (half_width <= 0.0 || tolerance >= 89.0) return;
    // Bearings of vectors off the axes are kDegreesPerRadian * atan2(dx, dy);
    // the cone must not reach the seam at +-180 degrees.
    const double low = (chord_bearing - half_width) / kDegreesPerRadian;
    const double high = (chord_bearing + half_width) / kDegreesPerRadian;
    if (low <= -kPi + 1e-6 || high >= kPi - 1e-6) return;
    // Edge directions (x, y) of the angles measured clockwise from +y.
    low_edge_ = {std::sin(low), std::cos(low)};
    high_edge_ = {std::sin(high), std::cos(high)};
    usable_ = true;
}

bool BearingCone::contains(int64_t dx, int64_t dy) const {
    // Axis-parallel vectors get fixed bearings (0, 90, 180, 270) that are
    // checked exactly.
    if (!usable_ || dx == 0 || dy == 0) return false;
    const auto x = static_cast<double>(dx);
    const auto y = static_cast<double>(dy);
    // Clockwise of the low edge and anticlockwise of the high edge.
    return low_edge_[0] * y - low_edge_[1] * x < 0.0 && high_edge_[0] * y - high_edge_[1] * x > 0.0;
}

}  // namespace vornel::toolkit
