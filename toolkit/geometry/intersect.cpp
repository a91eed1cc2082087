#include "toolkit/geometry/intersect.h"

#include <array>
#include <cstdio>

#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/rounding.h"
#include "toolkit/geometry/slope.h"

namespace vornel::toolkit {

namespace {

bool nearly_equal_ratio(double numerator, double denominator) {
    if (denominator == 0.0) return false;
    const double ratio = numerator / denominator;
    return 0.999 < ratio && ratio < 1.001;
}

bool same_point(const int32_t* p, const int32_t* q) { return p[0] == q[0] && p[1] == q[1]; }

bool strictly_between(int32_t value, int32_t end1, int32_t end2) {
    return (end1 < value && value < end2) || (end2 < value && value < end1);
}

// 2 outside, 1 strictly inside (in both x and y), 0 at an endpoint.
int16_t relation_to_segment(const int32_t* point, const int32_t* p1, const int32_t* p2) {
    if (same_point(point, p1) || same_point(point, p2)) return 0;
    if (strictly_between(point[0], p1[0], p2[0]) && strictly_between(point[1], p1[1], p2[1])) return 1;
    return 2;
}

void trace_result(int16_t debug, int16_t status, double tx, double ty, const int32_t* result) {
    if (debug == 0) return;
    std::printf("\nint_status=%d\nt.x=%lf t.y=%lf\ni.x=%ld i.y=%ld", status, tx, ty,
                static_cast<long>(result[0]), static_cast<long>(result[1]));
}

}  // namespace

void intersect(const int32_t* a1, const int32_t* a2, const int32_t* b1, const int32_t* b2,
               int32_t* result, int16_t* status, int16_t debug) {
    int16_t code = 0;
    const double m1 = Dslope(a1, a2);
    const double m2 = Dslope(b1, b2);
    if (debug != 0) std::printf("\nsl_1=%lf - sl_2=%lf", m1, m2);

    const double c1 = m1 != kVerticalSlope ? a1[1] - a1[0] * m1 : 0.0;
    const double c2 = m2 != kVerticalSlope ? b1[1] - b1[0] * m2 : 0.0;
    if (debug != 0) std::printf("\na_1=%lf - a_2=%lf", c1, c2);

    if (m1 == m2) {
        code = -1;
    } else if (m2 != 0.0 && nearly_equal_ratio(m1, m2)) {
        code = -2;
    }
    if (code < 0) {
        if (c1 == c2) {
            code = static_cast<int16_t>(code - 10);
        } else if (nearly_equal_ratio(c1, c2)) {
            code = static_cast<int16_t>(code - 20);
        }
        // Parallel: join the closest pair of endpoints at their midpoint; a
        // later pair wins only when strictly closer.
        const std::array<std::array<const int32_t*, 2>, 4> pairs{
            {{a1, b1}, {a1, b2}, {a2, b1}, {a2, b2}}};
        auto closest = pairs[0];
        double shortest = distance(closest[0], closest[1], 2);
        for (size_t n = 1; n < pairs.size(); ++n) {
            const double d = distance(pairs[n][0], pairs[n][1], 2);
            if (d < shortest) {
                shortest = d;
                closest = pairs[n];
            }
        }
        const double tx = closest[0][0] / 2.0 + closest[1][0] / 2.0;
        const double ty = closest[0][1] / 2.0 + closest[1][1] / 2.0;
        result[0] = round_half_away(tx);
        result[1] = round_half_away(ty);
        *status = code;
        trace_result(debug, code, tx, ty, result);
        return;
    }

    // Intersect the lines, not the segments.
    double tx = 0.0;
    double ty = 0.0;
    if (m1 == kVerticalSlope) {
        tx = a1[0];
        ty = tx * m2 + c2;
    } else if (m2 == kVerticalSlope) {
        tx = b1[0];
        ty = tx * m1 + c1;
    } else {
        tx = (c1 - c2) / (m2 - m1);
        ty = m1 * tx + c1;
    }
    result[0] = round_half_away(tx);
    result[1] = round_half_away(ty);

    code = static_cast<int16_t>(relation_to_segment(result, a1, a2) + 10 * relation_to_segment(result, b1, b2));
    *status = code;
    trace_result(debug, code, tx, ty, result);
}

}  // namespace vornel::toolkit
