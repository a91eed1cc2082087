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
// Vertices checked between looks at the running answer.
constexpr size_t kBlock = 64;

// Sums the doubts over all vertices in blocks, stopping after the first
// block with any.
template <typename Doubts>
bool all_certain(std::span<const double> dx, std::span<const double> dy, Doubts doubts) {
    for (size_t start = 0; start < dx.size(); start += kBlock) {
        const size_t end = std::min(dx.size(), start + kBlock);
        double total = 0.0;
        for (size_t n = start; n < end; ++n) total += doubts(dx[n], dy[n]);
        if (total != 0.0) return false;
    }
    return true;
}

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
    const double limit = tolerance - 0.75;
    usable_ = length_squared > 0.0 && !sentinel_slope && limit >= 0.0;
    if (!usable_) return;
    anchor_ = {static_cast<double>(anchor[0]), static_cast<double>(anchor[1])};
    chord_ = {cx, cy};
    slope_magnitude_ = std::fabs(chord_slope) == kVerticalSlope ? 0.0 : std::fabs(chord_slope);
    coordinate_bound_ = std::max({std::fabs(anchor_[0]), std::fabs(anchor_[1]), std::fabs(static_cast<double>(end[0])),
                                  std::fabs(static_cast<double>(end[1]))});
    cross_limit_ = limit * std::sqrt(length_squared);

    // The foot is anchor + t * chord. Rounded half away from zero, it stays in
    // the inclusive box while the exact foot is less than 0.5 outside it;
    // 0.48 leaves room for the foot's own error.
    double t_low = -1e300;
    double t_high = 1e300;
    for (int c = 0; c < 2; ++c) {
        if (chord_[c] == 0.0) continue;  // the foot keeps the anchor's coordinate
        const double low = (std::min<double>(anchor[c], end[c]) - 0.48 - anchor_[c]) / chord_[c];
        const double high = (std::max<double>(anchor[c], end[c]) + 0.48 - anchor_[c]) / chord_[c];
        t_low = std::max(t_low, std::min(low, high));
        t_high = std::min(t_high, std::max(low, high));
    }
    along_low_ = t_low * length_squared;
    along_high_ = t_high * length_squared;
}

bool OffsetCertainty::precise_enough(double largest_coordinate) const {
    // The exact test computes its foot from the chord slope and intercepts;
    // with a steep slope and large coordinates that loses precision, and the
    // quick answer could then differ.
    const double bound = std::max(coordinate_bound_, largest_coordinate);
    return kUnit * bound * (16.0 * std::max(slope_magnitude_, 1.0) + 4.0) <= kFootError;
}

bool OffsetCertainty::passes(const int32_t* vertex) const {
    if (!usable_) return false;
    if (!precise_enough(std::max(std::fabs(static_cast<double>(vertex[0])), std::fabs(static_cast<double>(vertex[1]))))) {
        return false;
    }
    return doubts(vertex[0] - anchor_[0], vertex[1] - anchor_[1]) == 0.0;
}

bool OffsetCertainty::passes_all(std::span<const double> dx, std::span<const double> dy,
                                 double largest_coordinate) const {
    if (!usable_ || !precise_enough(largest_coordinate)) return false;
    return all_certain(dx, dy, [this](double x, double y) { return doubts(x, y); });
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

bool BearingCone::contains_all(std::span<const double> dx, std::span<const double> dy, double end_dx,
                               double end_dy) const {
    if (!usable_) return false;
    return all_certain(dx, dy, [&](double x, double y) { return doubts(x - end_dx, y - end_dy); });
}

}  // namespace vornel::toolkit
