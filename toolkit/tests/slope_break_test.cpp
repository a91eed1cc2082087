#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "toolkit/geometry/distance.h"
#include "toolkit/slopebreak/chain_lengths.h"
#include "toolkit/slopebreak/slope_break.h"
#include "toolkit/tests/case_name.h"

namespace vornel::toolkit {
namespace {

struct Interval {
    float max_pct;
    float limit;
    double min_len;
};

BreakIntervals make_intervals(std::initializer_list<Interval> list) {
    BreakIntervals b;
    for (const auto& i : list) {
        const auto k = static_cast<size_t>(b.brk_count++);
        b.brk_max_pct[k] = i.max_pct;
        b.brk_limit[k] = i.limit;
        b.brk_min_len[k] = i.min_len;
    }
    return b;
}

// Class 0 up to 5 % (break limit 2), class 1 up to 999999 % (break limit 4),
// minimum length 50 for both.
const BreakIntervals kTwoClasses = make_intervals({{5, 2, 50}, {999999, 4, 50}});

std::pair<int32_t, int16_t> first_piece(const std::vector<int32_t>& chain, const BreakIntervals& intervals,
                                        size_t from = 0) {
    const std::span<const int32_t> rest(chain.data() + from * 3, chain.size() - from * 3);
    int32_t index = -1;
    int16_t cls = -1;
    slope_break(rest, static_cast<int32_t>(rest.size() / 3) - 1, &intervals, &index, &cls, 0);
    return {index, cls};
}

// Cuts a whole chain the way the chain writer does: piece after piece, each
// starting at the previous piece's last vertex. Returns (start, end, class).
std::vector<std::array<int32_t, 3>> cut(const std::vector<int32_t>& chain, const BreakIntervals& intervals) {
    std::vector<std::array<int32_t, 3>> pieces;
    const auto last = static_cast<int32_t>(chain.size() / 3) - 1;
    int32_t start = 0;
    while (start < last) {
        const auto [index, cls] = first_piece(chain, intervals, static_cast<size_t>(start));
        if (index < 1 || pieces.size() > chain.size()) {
            ADD_FAILURE() << "no progress at vertex " << start;
            break;
        }
        pieces.push_back({start, start + index, cls});
        start += index;
    }
    return pieces;
}

TEST(SlopeBreak, FlatThenClimbingChainIsCutWhereTheSlopeChanges) {
    const std::vector<int32_t> chain{0, 0, 0, 100, 0, 0, 200, 0, 0, 300, 0, 30, 400, 0, 60};
    EXPECT_EQ(first_piece(chain, kTwoClasses), std::make_pair(2, int16_t{0}));
    EXPECT_EQ(first_piece(chain, kTwoClasses, 2), std::make_pair(2, int16_t{1}));
    EXPECT_EQ(cut(chain, kTwoClasses), (std::vector<std::array<int32_t, 3>>{{0, 2, 0}, {2, 4, 1}}));
}

TEST(SlopeBreak, ShortFlatTailAfterAClimbStaysWithTheClimb) {
    // The climb at vertex 4 is followed by a flat tail shorter than the
    // minimum length: the flat run is cut at 4 and the tail rides with the climb.
    const std::vector<int32_t> chain{0,   0, 0, 100, 0, 0,  200, 0, 0, 300, 0, 0,
                                     400, 0, 0, 500, 0, 30, 520, 0, 30};
    EXPECT_EQ(cut(chain, kTwoClasses), (std::vector<std::array<int32_t, 3>>{{0, 4, 0}, {4, 6, 1}}));
}

struct WholeCase {
    const char* what;
    std::vector<int32_t> chain;
    BreakIntervals intervals;
    int16_t cls;
};

class SlopeBreakWhole : public testing::TestWithParam<WholeCase> {};

TEST_P(SlopeBreakWhole, RemainderIsOnePiece) {
    const auto& c = GetParam();
    const auto last = static_cast<int32_t>(c.chain.size() / 3) - 1;
    EXPECT_EQ(first_piece(c.chain, c.intervals), std::make_pair(last, c.cls));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlopeBreakWhole,
    testing::Values(
        WholeCase{"two vertices", {0, 0, 0, 10, 0, 9}, kTwoClasses, 1},
        // 180 UOR < 2 x 100 minimum length, whatever the shape.
        WholeCase{"shorter than twice the minimum",
                  {0, 0, 0, 60, 0, 0, 120, 0, 60, 180, 0, 0},
                  make_intervals({{5, 2, 100}, {999999, 4, 100}}), 0},
        WholeCase{"steady slope", {0, 0, 0, 100, 0, 1, 200, 0, 2, 300, 0, 3, 400, 0, 4}, kTwoClasses, 0},
        // Only the end heights count: 1.25 % overall although the middle climbs 100 %.
        WholeCase{"net slope over plan length", {0, 0, 0, 40, 0, 40, 80, 0, 1}, kTwoClasses, 0},
        WholeCase{"vertical run into the open class", {5, 5, 0, 5, 5, 700}, kTwoClasses, 1},
        WholeCase{"vertical run into the last class", {5, 5, 0, 5, 5, 700},
                  make_intervals({{5, 2, 50}, {50, 4, 50}, {90, 4, 50}}), 2},
        WholeCase{"single interval", {0, 0, 0, 100, 0, 0, 200, 0, 0, 300, 0, 90, 400, 0, 180},
                  make_intervals({{999999, 1000000, 50}}), 0}),
    CaseName());

TEST(SlopeBreak, ZeroOrNegativeBreakLimitStillAdvances) {
    // With a break limit of 0 the first vertex would be reported as the end
    // of the piece; the remainder is kept whole instead.
    std::vector<int32_t> chain;
    for (int n = 0; n < 12; ++n) {
        chain.insert(chain.end(), {n * 100, 0, (n % 3) * 20});
    }
    for (float limit : {0.0f, -1.0f}) {
        const auto intervals = make_intervals({{5, limit, 50}, {999999, limit, 50}});
        const auto pieces = cut(chain, intervals);
        ASSERT_FALSE(pieces.empty());
        EXPECT_EQ(pieces.back()[1], 11);
        for (const auto& p : pieces) EXPECT_GT(p[1], p[0]);
    }
}

TEST(SlopeBreak, DegenerateArgumentsDoNotReadPastTheChain) {
    const std::vector<int32_t> chain{0, 0, 0, 100, 0, 0, 200, 0, 0};
    int32_t index = -1;
    int16_t cls = -1;
    // A last index beyond the array is limited to the vertices present.
    slope_break(chain, 40, &kTwoClasses, &index, &cls, 0);
    EXPECT_EQ(index, 2);
    slope_break(std::span<const int32_t>(chain.data(), 3), 0, &kTwoClasses, &index, &cls, 0);
    EXPECT_EQ(index, 0);
    const BreakIntervals none;
    slope_break(chain, 2, &none, &index, &cls, 0);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(cls, 0);
}

// A direct reading of the cutting rules that measures every length afresh
// from the vertices; the routine under test keeps running sums instead and
// must agree with it exactly.
class Reference {
public:
    Reference(const std::vector<int32_t>& v, const BreakIntervals& b) : v_(v), b_(b) {}

    std::pair<int32_t, int16_t> run(int32_t n) const {
        const float l0 = length(0, n);
        const double s0 = pct(0, n, l0);
        int16_t cls = cls_of(s0);
        if (2.0 * b_.brk_min_len[cls] > l0 || n == 1) return {n, cls};
        int16_t prior = 0;
        bool f_set = false;
        double f = 0;
        for (int32_t i = 1; i < n; ++i) {
            const float l = length(0, i);
            const double s = pct(0, i, l);
            cls = cls_of(s);
            const float ls = length(i, i + 1);
            const double ss = pct(i, i + 1, ls);
            const int16_t cs = cls_of(ss);
            if (!f_set && l >= b_.brk_min_len[cls]) {
                f_set = true;
                f = s;
            }
            if (l < b_.brk_min_len[cls]) {
                prior = cls;
                continue;
            }
            if (std::fabs(s - ss) < b_.brk_limit[cls] && std::fabs(s - ss) < b_.brk_limit[cs] &&
                std::fabs(s - f) < b_.brk_limit[cls]) {
                prior = cls;
                continue;
            }
            int dir = 0;
            for (int32_t j = i + 1; j <= n; ++j) {
                const float ln = length(i, j);
                const double sn = pct(i, j, ln);
                const int16_t cn = cls_of(sn);
                if (std::fabs(s - sn) < b_.brk_limit[cls] && std::fabs(s - sn) < b_.brk_limit[cn] &&
                    std::fabs(s - f) < b_.brk_limit[cls]) {
                    break;
                }
                if ((sn + 1 < s && dir == 1) || (sn - 1 > s && dir == -1)) break;
                dir = sn >= s ? 1 : -1;
                if (ln < b_.brk_min_len[cn]) continue;
                const float lr = length(j, n);
                const double sr = pct(j, n, lr);
                const int16_t cr = cls_of(sr);
                if (lr >= b_.brk_min_len[cr] && std::fabs(s - f) >= b_.brk_limit[cls]) return {i - 1, prior};
                if (lr >= b_.brk_min_len[cr] || cr == cn) return {i, cls};
                if (std::fabs(sr - s) < b_.brk_max_pct[cls] || std::fabs(sr - s) < b_.brk_max_pct[cn]) {
                    return {i, cls};
                }
            }
            prior = cls;
        }
        return {n, cls};
    }

private:
    float length(int32_t a, int32_t b) const {
        return static_cast<float>(
            tot_Hdistance(b - a + 1, std::span<const int32_t>(v_).subspan(static_cast<size_t>(a) * 3), 3));
    }
    double pct(int32_t a, int32_t b, float l) const {
        if (l <= 0) return 99999.0;
        return std::fabs(static_cast<double>(v_[static_cast<size_t>(b) * 3 + 2] - v_[static_cast<size_t>(a) * 3 + 2])) /
               l * 100.0;
    }
    int16_t cls_of(double s) const {
        for (int16_t k = 0; k < b_.brk_count; ++k) {
            if (b_.brk_max_pct[static_cast<size_t>(k)] > s) return k;
        }
        return static_cast<int16_t>(b_.brk_count - 1);
    }
    const std::vector<int32_t>& v_;
    const BreakIntervals& b_;
};

TEST(ChainLengths, EveryLengthIsTheFreshSumInSinglePrecision) {
    // Long chains with segment lengths of very different sizes, so the sums
    // reach well into the rounding of both precisions.
    std::mt19937 random(3);
    std::uniform_int_distribution<int> small(0, 40);
    std::uniform_int_distribution<int> large(0, 3000000);
    for (int round = 0; round < 4; ++round) {
        std::vector<int32_t> chain{0, 0, 0};
        for (int n = 0; n < 3000; ++n) {
            const bool big = n % 7 == 0;
            chain.insert(chain.end(), {chain[chain.size() - 3] + (big ? large(random) : small(random)),
                                       chain[chain.size() - 2] + small(random), 0});
        }
        const auto last = static_cast<int32_t>(chain.size() / 3) - 1;
        ChainLengths lengths(chain, last);
        auto fresh = [&](int32_t a, int32_t b) {
            return static_cast<float>(
                tot_Hdistance(b - a + 1, std::span<const int32_t>(chain).subspan(static_cast<size_t>(a) * 3), 3));
        };
        ASSERT_EQ(lengths.whole(), fresh(0, last));
        for (int32_t a = 0; a <= last; ++a) {
            ASSERT_EQ(lengths.to_end(a), fresh(a, last)) << "round " << round << " from " << a;
            ASSERT_EQ(lengths.from_start(a), fresh(0, a)) << "round " << round << " to " << a;
        }
    }
}

TEST(SlopeBreak, RunningSumsAgreeWithFreshMeasurement) {
    // Irregular terrain profiles with uneven vertex spacing, three classes.
    const auto intervals = make_intervals({{2, 1, 80}, {8, 2.5f, 120}, {999999, 5, 60}});
    std::mt19937 random(7);
    std::uniform_int_distribution<int> step(1, 90);
    std::uniform_int_distribution<int> grade(-12, 12);
    int breaks_before_vertex = 0;
    for (int round = 0; round < 40; ++round) {
        std::vector<int32_t> chain{0, 0, 0};
        int32_t x = 0, y = 0, z = 0;
        int g = grade(random);
        for (int n = 0; n < 120; ++n) {
            if (n % 15 == 0) g = grade(random);
            const int s = step(random);
            x += s;
            y += s / 3;
            z += g * s / 10;
            chain.insert(chain.end(), {x, y, z});
        }
        const auto last = static_cast<int32_t>(chain.size() / 3) - 1;
        int32_t start = 0;
        while (start < last) {
            const std::vector<int32_t> rest(chain.begin() + start * 3, chain.end());
            const auto expected = Reference(rest, intervals).run(last - start);
            const auto got = first_piece(chain, intervals, static_cast<size_t>(start));
            ASSERT_EQ(got, expected) << "round " << round << " start " << start;
            ASSERT_GT(got.first, 0);
            if (expected.first < last - start) ++breaks_before_vertex;
            start += got.first;
        }
    }
    EXPECT_GT(breaks_before_vertex, 40);  // the profiles do exercise the cutting
}

}  // namespace
}  // namespace vornel::toolkit
