#include "toolkit/geometry/distance.h"

#include <algorithm>
#include <cmath>

namespace vornel::toolkit {

namespace {

double chain_length(int32_t count, std::span<const int32_t> vertices, int16_t stride,
                    int16_t measured_dimension) {
    if (stride < 2 || count < 2) return 0.0;
    const auto available = static_cast<int64_t>(vertices.size() / static_cast<size_t>(stride));
    const auto usable = std::min<int64_t>(count, available);
    double total = 0.0;
    for (int64_t i = 1; i < usable; ++i) {
        total += distance(&vertices[static_cast<size_t>(i * stride)],
                          &vertices[static_cast<size_t>((i - 1) * stride)], measured_dimension);
    }
    return total;
}

}  // namespace

double distance(const int32_t* a, const int32_t* b, int16_t dimension) {
    const double dx = static_cast<double>(a[0]) - static_cast<double>(b[0]);
    const double dy = static_cast<double>(a[1]) - static_cast<double>(b[1]);
    double sum = dx * dx + dy * dy;
    if (dimension == 3) {
        const double dz = static_cast<double>(a[2]) - static_cast<double>(b[2]);
        sum += dz * dz;
    }
    return std::sqrt(sum);
}

double tot_distance(int32_t count, std::span<const int32_t> vertices, int16_t dimension) {
    if (dimension != 2 && dimension != 3) return 0.0;
    return chain_length(count, vertices, dimension, dimension);
}

double tot_Hdistance(int32_t count, std::span<const int32_t> vertices, int16_t stride) {
    return chain_length(count, vertices, stride, 2);
}

}  // namespace vornel::toolkit
