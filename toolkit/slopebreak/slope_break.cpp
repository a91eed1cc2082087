#include "toolkit/slopebreak/slope_break.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "toolkit/slopebreak/chain_lengths.h"

namespace vornel::toolkit {

namespace {

constexpr double kNoLengthSlope = 99999.0;

// Percent slope between two vertices over the plan length between them.
double percent_slope(const ChainLengths& lengths, int32_t a, int32_t b, float length) {
    if (length <= 0.0f) return kNoLengthSlope;
    const int64_t rise = std::llabs(static_cast<int64_t>(lengths.vertex(b)[2]) - lengths.vertex(a)[2]);
    return static_cast<double>(rise) / static_cast<double>(length) * 100.0;
}

class SlopeClasses {
public:
    explicit SlopeClasses(const BreakIntervals& intervals)
        : intervals_(intervals), count_(std::clamp<int>(intervals.brk_count, 1, kMaxBreakIntervals)) {}

    int16_t of(double percent) const {
        for (int k = 0; k < count_; ++k) {
            if (intervals_.brk_max_pct[static_cast<size_t>(k)] > percent) return static_cast<int16_t>(k);
        }
        return static_cast<int16_t>(count_ - 1);
    }
    double limit(int16_t c) const { return intervals_.brk_limit[static_cast<size_t>(c)]; }
    double max_pct(int16_t c) const { return intervals_.brk_max_pct[static_cast<size_t>(c)]; }
    double min_len(int16_t c) const { return intervals_.brk_min_len[static_cast<size_t>(c)]; }

private:
    const BreakIntervals& intervals_;
    int count_;
};

}  // namespace

void slope_break(std::span<const int32_t> vertices, int32_t last_index, const BreakIntervals* intervals,
                 int32_t* break_index, int16_t* slope_class, int16_t debug) {
    const auto available = static_cast<int64_t>(vertices.size() / 3);
    const auto n = static_cast<int32_t>(std::min<int64_t>(last_index, available - 1));
    *break_index = n;
    if (n < 1 || intervals->brk_count < 1) {
        *slope_class = 0;
        return;
    }
    ChainLengths lengths(vertices, n);
    const SlopeClasses classes(*intervals);

    const float whole_length = lengths.whole();
    const double whole_slope = percent_slope(lengths, 0, n, whole_length);
    const int16_t whole_class = classes.of(whole_slope);
    *slope_class = whole_class;
    if (debug == 1) {
        std::printf("\n%.1f = length  pct_slope = %.1lf indx=%d", static_cast<double>(whole_length), whole_slope,
                    whole_class);
    }
    if (2.0 * classes.min_len(whole_class) > whole_length || n == 1) return;

    int16_t prior_class = 0;
    bool first_set = false;
    double first_slope = 0.0;
    for (int32_t i = 1; i < n; ++i) {
        const float behind_length = lengths.from_start(i);
        const double behind = percent_slope(lengths, 0, i, behind_length);
        const int16_t cls = classes.of(behind);
        *slope_class = cls;
        if (debug == 1) {
            std::printf("\ni = %d/%d  length = %.1f and pct_slope = %.1lf", static_cast<int>(i), static_cast<int>(n),
                        static_cast<double>(behind_length), behind);
        }
        const auto ahead_length = static_cast<float>(lengths.segment(i + 1));
        const double ahead = percent_slope(lengths, i, i + 1, ahead_length);
        const int16_t ahead_class = classes.of(ahead);

        if (!first_set && behind_length >= classes.min_len(cls)) {
            first_set = true;
            first_slope = behind;
        }
        const bool long_enough = behind_length >= classes.min_len(cls);
        const bool drifted = std::fabs(behind - first_slope) >= classes.limit(cls);
        const bool steady = std::fabs(behind - ahead) < classes.limit(cls) &&
                            std::fabs(behind - ahead) < classes.limit(ahead_class) && !drifted;
        if (long_enough && !steady) {
            // The slope changes at vertex i: look ahead for where to cut.
            int direction = 0;
            double next_length = 0.0;
            for (int32_t j = i + 1; j <= n; ++j) {
                next_length += lengths.segment(j);
                const auto next_float = static_cast<float>(next_length);
                const double next = percent_slope(lengths, i, j, next_float);
                const int16_t next_class = classes.of(next);
                if (debug == 1) {
                    std::printf("\n  j = %d  %.1f = nxtlength  nxtpct_slope = %.1lf upDown=%d", static_cast<int>(j),
                                static_cast<double>(next_float), next, direction);
                }
                if (std::fabs(behind - next) < classes.limit(cls) &&
                    std::fabs(behind - next) < classes.limit(next_class) && !drifted) {
                    break;
                }
                if ((next + 1 < behind && direction == 1) || (next - 1 > behind && direction == -1)) break;
                direction = next >= behind ? 1 : -1;
                if (next_float < classes.min_len(next_class)) continue;

                const float rest_length = lengths.to_end(j);
                const double rest = percent_slope(lengths, j, n, rest_length);
                const int16_t rest_class = classes.of(rest);
                const bool rest_long = rest_length >= classes.min_len(rest_class);
                if (rest_long && drifted) {
                    if (debug == 1) {
                        std::printf("\nFOUND BREAK 1 - next slope = %.1f prior slope = %.1f first slope = %.1f "
                                    "------------------------------",
                                    next, behind, first_slope);
                    }
                    if (i - 1 < 1) {
                        // A cut before vertex 1 would leave a piece without a
                        // segment and stall the caller: keep the remainder whole.
                        *break_index = n;
                        *slope_class = whole_class;
                        return;
                    }
                    *break_index = i - 1;
                    *slope_class = prior_class;
                    return;
                }
                if (rest_long || rest_class == next_class) {
                    if (debug == 1) {
                        std::printf("\nFOUND BREAK 2 - next slope = %.1f prior slope = %.1f  first slope = %.1f "
                                    "------------------------------",
                                    next, behind, first_slope);
                    }
                    *break_index = i;
                    return;
                }
                if (std::fabs(rest - behind) < classes.max_pct(cls) ||
                    std::fabs(rest - behind) < classes.max_pct(next_class)) {
                    if (debug == 1) {
                        std::printf("\n--- FOUND BREAK 3 - last slope=%.1f prior slope = %.1f  first slope = %.1f "
                                    "---------------------------",
                                    rest, behind, first_slope);
                    }
                    *break_index = i;
                    return;
                }
            }
        }
        prior_class = cls;
    }
    *break_index = n;
}

}  // namespace vornel::toolkit
