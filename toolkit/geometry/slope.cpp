#include "toolkit/geometry/slope.h"

namespace vornel::toolkit {

namespace {
// Differences are taken in 64 bits so extreme coordinates cannot overflow;
// within the 32-bit range the value is the plain integer difference.
int64_t difference(int32_t p, int32_t q) { return static_cast<int64_t>(p) - q; }
}  // namespace

float slope(const int32_t* a, const int32_t* b) {
    if (a[0] == b[0]) return static_cast<float>(kVerticalSlope);
    return static_cast<float>(difference(a[1], b[1])) / static_cast<float>(difference(a[0], b[0]));
}

double Dslope(const int32_t* a, const int32_t* b) {
    if (a[0] == b[0]) return kVerticalSlope;
    return static_cast<double>(difference(a[1], b[1])) / static_cast<double>(difference(a[0], b[0]));
}

}  // namespace vornel::toolkit
