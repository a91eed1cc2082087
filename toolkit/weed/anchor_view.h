// The intermediate vertices of the tolerance weeder's current anchor, laid
// out for checks that cover a whole chord at once.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace vornel::toolkit {

// The intermediates of the current anchor laid out for chord-wide checks:
// plan coordinates relative to the anchor, side by side, and the range of
// their bearings from the anchor.
class AnchorView {
public:
    explicit AnchorView(size_t count) : dx_(count), dy_(count) {}

    void restart(const int32_t* anchor) {
        anchor_ = {static_cast<double>(anchor[0]), static_cast<double>(anchor[1])};
        largest_ = std::max(std::fabs(anchor_[0]), std::fabs(anchor_[1]));
        lowest_bearing_ = std::numeric_limits<double>::infinity();
        highest_bearing_ = -std::numeric_limits<double>::infinity();
    }
    void add(int32_t k, const int32_t* vertex, double bearing_from_anchor) {
        dx_[static_cast<size_t>(k)] = vertex[0] - anchor_[0];
        dy_[static_cast<size_t>(k)] = vertex[1] - anchor_[1];
        largest_ = std::max({largest_, std::fabs(static_cast<double>(vertex[0])), std::fabs(static_cast<double>(vertex[1]))});
        lowest_bearing_ = std::min(lowest_bearing_, bearing_from_anchor);
        highest_bearing_ = std::max(highest_bearing_, bearing_from_anchor);
    }
    std::span<const double> dx(int32_t first, int32_t end) const { return slice(dx_, first, end); }
    std::span<const double> dy(int32_t first, int32_t end) const { return slice(dy_, first, end); }
    double largest_coordinate() const { return largest_; }
    // Whether some intermediate's bearing from the anchor differs from the
    // chord's by more than the tolerance. Floating subtraction keeps order,
    // so the extremes decide exactly as testing each vertex would.
    bool bearing_strays(double chord_bearing, float tolerance) const {
        return highest_bearing_ - chord_bearing > tolerance || chord_bearing - lowest_bearing_ > tolerance;
    }

private:
    static std::span<const double> slice(const std::vector<double>& values, int32_t first, int32_t end) {
        return std::span<const double>(values).subspan(static_cast<size_t>(first), static_cast<size_t>(end - first));
    }

    std::array<double, 2> anchor_{};
    std::vector<double> dx_;
    std::vector<double> dy_;
    double largest_ = 0.0;
    double lowest_bearing_ = 0.0;
    double highest_bearing_ = 0.0;
};

}  // namespace vornel::toolkit
