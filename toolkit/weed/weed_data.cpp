#include "toolkit/weed/weed_data.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/rounding.h"
#include "toolkit/geometry/slope.h"
#include "toolkit/weed/anchor_view.h"
#include "toolkit/weed/bearing.h"
#include "toolkit/weed/certain_pass.h"
#include "toolkit/weed/chain_bounds.h"
#include "toolkit/weed/straight_run.h"

namespace vornel::toolkit {

namespace {

struct Tolerances {
    float distance;
    float length;
    float angle;
    int32_t short_step;  // |truncate(length)|, used when length < 0
};

struct ZingerReport {
    int16_t level;
    double flag_size;
    double unit_factor;
    const double* global_origin;
    ZingerFlagPlacer* placer;
    int32_t* counter;
    int16_t debug;
};

// One chain being weeded: vertex access by index for either stride.
class Chain {
public:
    Chain(std::span<int32_t> vertices, int stride) : vertices_(vertices), stride_(stride) {}

    const int32_t* at(int32_t index) const { return &vertices_[static_cast<size_t>(index) * stride_]; }
    std::span<const int32_t> vertex(int32_t index) const {
        return {at(index), static_cast<size_t>(stride_)};
    }
    double plan_distance(int32_t a, int32_t b) const { return distance(at(a), at(b), 2); }
    double bearing_from_to(int32_t from, int32_t to) const {
        // Bearing of the vector v[from] - v[to].
        return bearing(static_cast<int64_t>(at(from)[0]) - at(to)[0],
                       static_cast<int64_t>(at(from)[1]) - at(to)[1]);
    }
    void move(int32_t from, int32_t to) {
        for (int c = 0; c < stride_; ++c) {
            vertices_[static_cast<size_t>(to) * stride_ + c] = vertices_[static_cast<size_t>(from) * stride_ + c];
        }
    }

private:
    std::span<int32_t> vertices_;
    int stride_;
};

bool in_box(const int32_t* p, const int32_t* a, const int32_t* b) {
    for (int c = 0; c < 2; ++c) {
        const int32_t lo = a[c] < b[c] ? a[c] : b[c];
        const int32_t hi = a[c] < b[c] ? b[c] : a[c];
        if (p[c] < lo || p[c] > hi) return false;
    }
    return true;
}

// Values of an intermediate vertex k seen from the anchor w; they hold for
// every chord end i while the anchor stays.
struct FromAnchor {
    double slope;     // Dslope(v[w], v[k])
    double bearing;   // bearing of v[w] - v[k]
    double distance;  // plan distance v[k]-v[w]
};

// Values of the chord v[w]-v[i] shared by every intermediate k.
struct Chord {
    double slope;     // Dslope(v[w], v[i])
    double bearing;   // bearing of v[w] - v[i]
    double length;    // plan distance v[w]-v[i]
};

// Offset test: does v[k] lie close enough to the chord v[w]-v[i]?
bool offset_passes(const Chain& chain, int32_t w, int32_t k, int32_t i, const FromAnchor& from,
                   const Chord& chord, double tolerance) {
    const double m1 = from.slope;
    const double m2 = chord.slope;
    if (m1 == m2) return true;

    const int32_t* vw = chain.at(w);
    const int32_t* vk = chain.at(k);
    int32_t foot[2];
    if (m2 == 0.0) {
        foot[0] = vk[0];
        foot[1] = vw[1];
    } else if (m2 == kVerticalSlope) {
        foot[0] = vw[0];
        foot[1] = vk[1];
    } else {
        const double b1 = vw[1] - m2 * vw[0];
        const double b2 = vk[1] + vk[0] / m2;
        const double fx = (b2 - b1) / (m2 + 1.0 / m2);
        foot[0] = round_half_away(fx);
        foot[1] = round_half_away(m2 * fx + b1);
    }
    if (!in_box(foot, vw, chain.at(i))) return false;
    if (distance(vk, foot, 2) <= tolerance) return true;
    return std::fabs(m2 - m1) * chord.length <= tolerance || from.distance <= tolerance ||
           chain.plan_distance(k, i) <= tolerance;
}

bool length_passes(const Chain& chain, int32_t k, int32_t i, const FromAnchor& from, const Chord& chord,
                   const Tolerances& tol) {
    if (tol.length > 0.0f) return chord.length <= tol.length;
    if (tol.length < 0.0f) return !(from.distance > tol.short_step && chain.plan_distance(k, i) > tol.short_step);
    return true;
}

bool angle_passes(double a1, double a2, double a3, float tolerance) {
    return !(std::fabs(a1 - a2) > tolerance || std::fabs(a3 - a2) > tolerance);
}

// Zinger mode: flags v[k] when the line turns back on itself there.
void check_zinger(const Chain& chain, int32_t k, double a1, double a3, float tolerance,
                  const ZingerReport& report) {
    const double limit = std::fabs(tolerance);
    const double turn = std::fabs(a1 - a3);
    if (!(180.0 - limit < turn && turn < 180.0 + limit)) return;

    ++*report.counter;
    if (report.debug >= 1) {
        const int32_t* vk = chain.at(k);
        const double factor = report.unit_factor != 0.0 ? report.unit_factor : 1.0;
        std::printf("\nZinger at %lf,%lf", (vk[0] - report.global_origin[0]) / factor,
                    (vk[1] - report.global_origin[1]) / factor);
    }
    if (report.placer == nullptr) return;
    const int16_t status = report.placer->place_zinger_flag(chain.vertex(k), report.level, report.flag_size);
    if (status != 0) std::printf("\nError %d placing ELLIPSE\n", status);
}

// Whether every intermediate vertex k of the chord v[anchor]-v[i] passes:
// decided for the whole chord at once where the quick checks allow,
// otherwise vertex by vertex.
bool chord_holds_everywhere(const Chain& chain, int32_t anchor, int32_t i, const Chord& chord, const Tolerances& tol,
                            const std::vector<FromAnchor>& from_anchor, const AnchorView& view, bool chord_wide,
                            const ZingerReport& report) {
    const OffsetCertainty offset_sure(chain.at(anchor), chain.at(i), chord.slope, tol.distance);
    const BearingCone bearing_sure(chord.bearing, tol.angle);
    if (chord_wide) {
        // Some intermediate vertex failing the first half of the angle test
        // rejects the chord.
        if (tol.angle > 0.0f && view.bearing_strays(chord.bearing, tol.angle)) return false;
        const auto dx = view.dx(anchor + 1, i);
        const auto dy = view.dy(anchor + 1, i);
        const double end_dx = static_cast<double>(chain.at(i)[0]) - chain.at(anchor)[0];
        const double end_dy = static_cast<double>(chain.at(i)[1]) - chain.at(anchor)[1];
        if ((tol.distance <= 0.0f || offset_sure.passes_all(dx, dy, view.largest_coordinate())) &&
            (tol.angle <= 0.0f || bearing_sure.contains_all(dx, dy, end_dx, end_dy))) {
            return !(tol.length > 0.0f && chord.length > tol.length);
        }
    }
    for (int32_t k = anchor + 1; k < i; ++k) {
        const FromAnchor& from = from_anchor[static_cast<size_t>(k)];
        bool passes = true;
        if (tol.distance > 0.0f) {
            passes = from.slope == chord.slope || offset_sure.passes(chain.at(k)) ||
                     offset_passes(chain, anchor, k, i, from, chord, tol.distance);
        }
        if (passes) passes = length_passes(chain, k, i, from, chord, tol);
        if (passes && tol.angle > 0.0f) {
            passes = std::fabs(from.bearing - chord.bearing) <= tol.angle &&
                     (bearing_sure.contains(static_cast<int64_t>(chain.at(k)[0]) - chain.at(i)[0],
                                            static_cast<int64_t>(chain.at(k)[1]) - chain.at(i)[1]) ||
                      angle_passes(from.bearing, chord.bearing, chain.bearing_from_to(k, i), tol.angle));
        }
        if (tol.angle < 0.0f) {
            check_zinger(chain, k, from.bearing, chain.bearing_from_to(k, i), tol.angle, report);
            passes = false;
        }
        if (!passes) return false;
    }
    return true;
}

// Bearings of exactly parallel vectors differ by rounding only, far below
// this; above it a straight run passes the angle test without evaluation.
constexpr float kSmallestShortcutAngle = 1e-6f;

int weed_chain(std::span<int32_t> vertices, int stride, int32_t* last_index, float distance_tol,
               float length_tol, float* angle_tol, int16_t debug, int32_t* vertices_in,
               int32_t* vertices_out, const ZingerReport& report) {
    const int32_t last = *last_index;
    if (last < 0) return weed_done;
    const int64_t count = static_cast<int64_t>(last) + 1;
    if (count > kWeedMaxVertices) {
        std::printf("\nChain of %ld vertices exceeds the weeding limit of %ld vertices - left unweeded\n",
                    static_cast<long>(count), static_cast<long>(kWeedMaxVertices));
        return weed_chain_too_long;
    }
    if (!chain_within_array(last, vertices, stride, "Weeding")) return weed_bad_argument;

    *vertices_in += static_cast<int32_t>(count);
    if (distance_tol == 0.0f && length_tol == 0.0f && *angle_tol == 0.0f) *angle_tol = 0.005f;
    if (debug >= 1) {
        std::printf("\n#verts = %d - %d\ndTol=%f\naTol=%f\nlTol=%f", static_cast<int>(count),
                    static_cast<int>(last), static_cast<double>(distance_tol),
                    static_cast<double>(*angle_tol), static_cast<double>(length_tol));
    }
    if (last <= 1) {
        // Nothing between the ends to remove.
        *vertices_out += static_cast<int32_t>(count);
        return weed_done;
    }

    const Tolerances tol{distance_tol, length_tol, *angle_tol, std::abs(truncate_to_int32(length_tol))};
    Chain chain(vertices, stride);
    std::vector<bool> keep(static_cast<size_t>(count), false);
    keep.front() = true;
    keep.back() = true;
    std::vector<FromAnchor> from_anchor(static_cast<size_t>(count));
    AnchorView view(static_cast<size_t>(count));
    const bool straight_runs_pass =
        tol.angle >= 0.0f && (tol.angle == 0.0f || tol.angle >= kSmallestShortcutAngle) && tol.length >= 0.0f;
    // Chord-wide decisions need every test to be the same for all k but the
    // offset and angle ones; the short-step test is not, zinger mode tests
    // each vertex for flags.
    const bool chord_wide = tol.angle >= 0.0f && tol.length >= 0.0f;

    int32_t anchor = 0;
    StraightRun run;
    run.restart(anchor, chain.at(anchor));
    view.restart(chain.at(anchor));
    for (int32_t i = 2; i <= last; ++i) {
        // Vertex i-1 joins the intermediates of the current anchor.
        const FromAnchor joining{Dslope(chain.at(anchor), chain.at(i - 1)), chain.bearing_from_to(anchor, i - 1),
                                 chain.plan_distance(i - 1, anchor)};
        from_anchor[static_cast<size_t>(i - 1)] = joining;
        view.add(i - 1, chain.at(i - 1), joining.bearing);
        const Chord chord{Dslope(chain.at(anchor), chain.at(i)), chain.bearing_from_to(anchor, i),
                          chain.plan_distance(anchor, i)};
        const bool straight = run.extend_to(i - 1, chain.at(i - 1), chain.at(i - 2)) &&
                              run.extend_to(i, chain.at(i), chain.at(i - 1));

        // Only the chord length can reject a chord along a straight run.
        const bool chord_holds = straight && straight_runs_pass
                                     ? !(tol.length > 0.0f && chord.length > tol.length)
                                     : chord_holds_everywhere(chain, anchor, i, chord, tol, from_anchor, view,
                                                              chord_wide, report);
        if (!chord_holds) {
            keep[static_cast<size_t>(i - 1)] = true;
            anchor = i - 1;
            run.restart(anchor, chain.at(anchor));
            view.restart(chain.at(anchor));
        }
    }

    int32_t kept = 0;
    for (int32_t n = 0; n <= last; ++n) {
        if (keep[static_cast<size_t>(n)]) chain.move(n, kept++);
    }
    *last_index = kept - 1;
    *vertices_out += kept;
    if (debug >= 1) std::printf("\n weeded line - # of verts  = %d", static_cast<int>(kept));
    return weed_done;
}

}  // namespace

int weed_data(std::span<int32_t> vertices, int32_t* last_index, float distance_tol,
              float length_tol, float* angle_tol, int16_t debug, int32_t* vertices_in,
              int32_t* vertices_out, int16_t flag_level, double flag_size, int32_t* zinger_count,
              double unit_factor, const double* global_origin, ZingerFlagPlacer* flag_placer) {
    const ZingerReport report{flag_level, flag_size, unit_factor, global_origin, flag_placer, zinger_count, debug};
    return weed_chain(vertices, 2, last_index, distance_tol, length_tol, angle_tol, debug,
                      vertices_in, vertices_out, report);
}

int weed_data3d(std::span<int32_t> vertices, int32_t* last_index, float distance_tol,
                float length_tol, float* angle_tol, int16_t debug, int32_t* vertices_in,
                int32_t* vertices_out, int16_t flag_level, double flag_size,
                int32_t* zinger_count, double unit_factor, const double* global_origin,
                ZingerFlagPlacer* flag_placer) {
    const ZingerReport report{flag_level, flag_size, unit_factor, global_origin, flag_placer, zinger_count, debug};
    return weed_chain(vertices, 3, last_index, distance_tol, length_tol, angle_tol, debug,
                      vertices_in, vertices_out, report);
}

}  // namespace vornel::toolkit
