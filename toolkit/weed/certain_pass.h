// Quick sufficient conditions for an intermediate vertex to pass the
// tolerance weeder's offset and angle tests against one chord. Each keeps a
// margin wider than every rounding the exact tests make, so "certain" means
// the exact test passes too; anything else goes to the exact test.
#pragma once

#include <array>
#include <cstdint>

namespace vornel::toolkit {

// Offset test: the vertex lies within the tolerance of the chord line, with
// its perpendicular foot inside the chord's box.
class OffsetCertainty {
public:
    // Chord from `anchor` to `end`, whose Dslope is `chord_slope`.
    OffsetCertainty(const int32_t* anchor, const int32_t* end, double chord_slope, double tolerance);
    bool passes(const int32_t* vertex) const;

private:
    bool usable_ = false;
    double slope_magnitude_ = 0.0;
    std::array<double, 2> anchor_{};
    std::array<double, 2> chord_{};
    double inverse_length_ = 0.0;
    double inverse_length_squared_ = 0.0;
    double limit_ = 0.0;
    double coordinate_bound_ = 0.0;
    std::array<double, 2> low_{};
    std::array<double, 2> high_{};
};

// Angle test, second half: the bearing of a vector lies within the
// tolerance of the chord's bearing.
class BearingCone {
public:
    BearingCone(double chord_bearing, double tolerance);
    // For the vector (dx, dy) of an intermediate vertex minus the chord end.
    bool contains(int64_t dx, int64_t dy) const;

private:
    bool usable_ = false;
    std::array<double, 2> low_edge_{};
    std::array<double, 2> high_edge_{};
};

}  // namespace vornel::toolkit
