#include "toolkit/weed/bearing.h"

#include <cmath>

namespace vornel::toolkit {

double bearing(int64_t dx, int64_t dy) {
    if (dx != 0 && dy != 0) {
        return std::atan2(static_cast<double>(dx), static_cast<double>(dy)) * 360.0 / 6.2831853;
    }
    double degrees = 0.0;
    if (dx == 0) degrees = dy < 0 ? 180.0 : 0.0;
    if (dy == 0) degrees = dx < 0 ? 270.0 : 90.0;
    return degrees;
}

}  // namespace vornel::toolkit
