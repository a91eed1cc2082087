#include "toolkit/slopebreak/chain_lengths.h"

#include "toolkit/geometry/distance.h"

namespace vornel::toolkit {

namespace {
// Unit roundoff of a double.
constexpr double kUnit = 1.0 / 9007199254740992.0;
}  // namespace

ChainLengths::ChainLengths(std::span<const int32_t> vertices, int32_t last) : vertices_(vertices), last_(last) {
    for (int32_t m = 1; m <= last; ++m) total_ += distance(vertex(m), vertex(m - 1), 2);
}

void ChainLengths::measure_to(int32_t m) {
    for (auto next = static_cast<int32_t>(segment_.size()); next <= m; ++next) {
        const double length = distance(vertex(next), vertex(next - 1), 2);
        segment_.push_back(length);
        prefix_.push_back(prefix_.back() + length);
    }
}

double ChainLengths::segment(int32_t m) {
    measure_to(m);
    return segment_[static_cast<size_t>(m)];
}

float ChainLengths::from_start(int32_t b) {
    measure_to(b);
    return static_cast<float>(prefix_[static_cast<size_t>(b)]);
}

float ChainLengths::to_end(int32_t a) {
    measure_to(a);
    // The whole length less the length up to a is within `error` of the true
    // length, and so is the sum taken from a (each sum of n terms is off by
    // at most about n units in the last place of its total). When the whole
    // interval rounds to one float, that float is the sum taken from a.
    const double difference = total_ - prefix_[static_cast<size_t>(a)];
    const double error = 4.0 * (static_cast<double>(last_) + 2.0) * kUnit * (total_ + difference) + 1e-300;
    const auto low = static_cast<float>(difference - error);
    const auto high = static_cast<float>(difference + error);
    if (low == high) return low;
    double sum = 0.0;
    for (int32_t m = a + 1; m <= last_; ++m) sum += segment(m);
    return static_cast<float>(sum);
}

}  // namespace vornel::toolkit
