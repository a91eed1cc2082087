#include "toolkit/zinger/design_zinger_flags.h"

#include <cmath>

#include "client/connection/host_connection.h"
#include "client/connection/tcb_layout.h"
#include "client/connection/wire.h"
#include "client/operations/operations.h"

namespace vornel::toolkit {

namespace {

constexpr int16_t kFlagMode[2] = {2, 0};
constexpr Symbology kFlagSymbology{0, 2, 1, 1};
constexpr double kFlagRotation = 45.0;
constexpr double kSecondaryAxisFactor = 0.75;

bool design_is_three_dimensional() {
    return wire::load<int16_t>(connection::tcb_bytes(), tcb::kDimension) == 3;
}

}  // namespace

int16_t DesignZingerFlags::place_zinger_flag(std::span<const int32_t> centre, int16_t level, double flag_size) {
    const double axes[2] = {flag_size, kSecondaryAxisFactor * flag_size};
    int16_t status = 0;
    if (design_is_three_dimensional()) {
        const double at[3] = {static_cast<double>(centre[0]), static_cast<double>(centre[1]),
                              centre.size() > 2 ? static_cast<double>(centre[2]) : 0.0};
        const double c = std::cos(kFlagRotation * M_PI / 180.0);
        const double s = std::sin(kFlagRotation * M_PI / 180.0);
        const double matrix[9] = {c, -s, 0.0, s, c, 0.0, 0.0, 0.0, 1.0};
        eldfp3(kFlagMode, &level, &kFlagSymbology, axes, at, &status, nullptr, matrix);
    } else {
        const double at[2] = {static_cast<double>(centre[0]), static_cast<double>(centre[1])};
        eldfpi(kFlagMode, &level, &kFlagSymbology, axes, at, &kFlagRotation, &status, nullptr);
    }
    return status;
}

}  // namespace vornel::toolkit
