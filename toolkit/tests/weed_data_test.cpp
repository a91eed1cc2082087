#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/rounding.h"
#include "toolkit/geometry/slope.h"
#include "toolkit/weed/bearing.h"
#include "toolkit/weed/weed_data.h"
#include "toolkit/tests/case_name.h"

namespace vornel::toolkit {
namespace {

// Collects the zinger flags the weeder asks for.
class RecordingPlacer : public ZingerFlagPlacer {
public:
    int16_t place_zinger_flag(std::span<const int32_t> centre, int16_t level, double flag_size) override {
        centres.emplace_back(centre.begin(), centre.end());
        levels.push_back(level);
        sizes.push_back(flag_size);
        return status;
    }
    std::vector<std::vector<int32_t>> centres;
    std::vector<int16_t> levels;
    std::vector<double> sizes;
    int16_t status = 0;
};

struct Counters {
    int32_t in = 0;
    int32_t out = 0;
    int32_t zingers = 0;
};

constexpr std::array<double, 2> kOrigin{0.0, 0.0};

// Runs weed_data (stride 2) or weed_data3d (stride 3) on a copy of `chain`
// and returns the weeded vertices.
std::vector<int32_t> weed(std::vector<int32_t> chain, int stride, float dist, float length, float* angle,
                          Counters& counters, ZingerFlagPlacer* placer = nullptr, int* result = nullptr) {
    auto last = static_cast<int32_t>(chain.size() / static_cast<size_t>(stride)) - 1;
    const int r = stride == 2
                      ? weed_data(chain, &last, dist, length, angle, 0, &counters.in, &counters.out, 5, 40.0,
                                  &counters.zingers, 1.0, kOrigin.data(), placer)
                      : weed_data3d(chain, &last, dist, length, angle, 0, &counters.in, &counters.out, 5, 40.0,
                                    &counters.zingers, 1.0, kOrigin.data(), placer);
    if (result != nullptr) *result = r;
    chain.resize(static_cast<size_t>(last + 1) * static_cast<size_t>(stride));
    return chain;
}

std::vector<int32_t> straight_run(int count, int spacing) {
    std::vector<int32_t> chain;
    for (int n = 0; n < count; ++n) {
        chain.push_back(n * spacing);
        chain.push_back(0);
    }
    return chain;
}

struct WeedCase {
    const char* what;
    std::vector<int32_t> chain;
    float dist, length, angle;
    std::vector<int32_t> expected;
};

class WeedData : public testing::TestWithParam<WeedCase> {};

TEST_P(WeedData, KeepsTheExpectedVertices) {
    const auto& c = GetParam();
    Counters counters;
    float angle = c.angle;
    EXPECT_EQ(weed(c.chain, 2, c.dist, c.length, &angle, counters), c.expected);
    EXPECT_EQ(counters.in, static_cast<int32_t>(c.chain.size() / 2));
    EXPECT_EQ(counters.out, static_cast<int32_t>(c.expected.size() / 2));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WeedData,
    testing::Values(
        WeedCase{"offset within tolerance goes", {0, 0, 50, 3, 100, 0}, 10, 0, 0, {0, 0, 100, 0}},
        WeedCase{"offset beyond tolerance stays", {0, 0, 50, 30, 100, 0}, 10, 0, 0, {0, 0, 50, 30, 100, 0}},
        // A vertex beyond the chord's end on the same line has the anchor's slope.
        WeedCase{"on the extension passes", {0, 0, 200, 0, 100, 0}, 10, 0, 0, {0, 0, 100, 0}},
        // The foot of (50,30) lies outside the box of a short chord.
        WeedCase{"foot outside chord box stays", {0, 0, 150, 30, 100, 10}, 50, 0, 0, {0, 0, 150, 30, 100, 10}},
        WeedCase{"length limits the chord", straight_run(11, 30), 0, 100, 0,
                 {0, 0, 90, 0, 180, 0, 270, 0, 300, 0}},
        WeedCase{"short steps of 2 with limit 5", straight_run(16, 2), 0, -5, 0,
                 {0, 0, 10, 0, 20, 0, 30, 0}},
        WeedCase{"long steps with limit 5 all stay", straight_run(4, 20), 0, -5, 0, straight_run(4, 20)},
        WeedCase{"gentle bend within angle", {0, 0, 100, 101, 200, 200}, 0, 0, 5, {0, 0, 200, 200}},
        WeedCase{"sharp bend beyond angle", {0, 0, 100, 130, 200, 200}, 0, 0, 5, {0, 0, 100, 130, 200, 200}},
        // The backward bearing of the first step reads 270 and the chord's
        // about -90.3: no wrap-around, so the middle vertex stays.
        WeedCase{"bearing without wrap-around", {0, 0, 100, 0, 200, 1}, 0, 0, 5, {0, 0, 100, 0, 200, 1}},
        WeedCase{"two vertices unchanged", {0, 0, 7, 7}, 10, 0, 0, {0, 0, 7, 7}},
        WeedCase{"one vertex unchanged", {3, 4}, 10, 0, 0, {3, 4}}),
    CaseName());

TEST(WeedDataDefaults, AllTolerancesZeroRemoveOnlyStraightRuns) {
    Counters counters;
    float angle = 0.0f;
    const std::vector<int32_t> chain{0, 0, 100, 0, 200, 0, 300, 1, 400, 50};
    EXPECT_EQ(weed(chain, 2, 0, 0, &angle, counters), (std::vector<int32_t>{0, 0, 200, 0, 300, 1, 400, 50}));
    EXPECT_FLOAT_EQ(angle, 0.005f);  // the caller's tolerance is rewritten for later calls
}

TEST(WeedDataCounters, AccumulateOverCalls) {
    Counters counters{10, 7, 0};
    float angle = 5.0f;
    weed({0, 0, 100, 101, 200, 200}, 2, 0, 0, &angle, counters);
    weed({0, 0, 7, 7}, 2, 0, 0, &angle, counters);
    EXPECT_EQ(counters.in, 10 + 3 + 2);
    EXPECT_EQ(counters.out, 7 + 2 + 2);
}

TEST(WeedData3d, DecidesInPlanAndMovesElevations) {
    Counters counters;
    float angle = 0.0f;
    // The middle vertex is on the straight plan run although its elevation
    // jumps; the kept vertices carry their own z.
    const std::vector<int32_t> chain{0, 0, 5, 100, 0, 900, 200, 0, 7, 300, 40, 8};
    EXPECT_EQ(weed(chain, 3, 0, 0, &angle, counters), (std::vector<int32_t>{0, 0, 5, 200, 0, 7, 300, 40, 8}));
}

TEST(WeedDataZingers, FlagsEveryDoubleBackWithoutThinning) {
    Counters counters;
    RecordingPlacer placer;
    float angle = -10.0f;
    const std::vector<int32_t> chain{0, 0, 100, 0, 0, 1, 100, 1};
    EXPECT_EQ(weed(chain, 2, 0, 0, &angle, counters, &placer), chain);
    EXPECT_EQ(counters.zingers, 2);
    EXPECT_EQ(placer.centres, (std::vector<std::vector<int32_t>>{{100, 0}, {0, 1}}));
    EXPECT_EQ(placer.levels, (std::vector<int16_t>{5, 5}));
    EXPECT_EQ(placer.sizes, (std::vector<double>{40.0, 40.0}));
    EXPECT_FLOAT_EQ(angle, -10.0f);
}

TEST(WeedDataZingers, FailedPlacementIsReportedAndStillCounted) {
    Counters counters;
    RecordingPlacer placer;
    placer.status = 912;
    float angle = -10.0f;
    testing::internal::CaptureStdout();
    weed({0, 0, 100, 0, 0, 1}, 2, 0, 0, &angle, counters, &placer);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nError 912 placing ELLIPSE\n");
    EXPECT_EQ(counters.zingers, 1);
}

TEST(WeedDataZingers, ThreeDimensionalFlagsCarryElevation) {
    Counters counters;
    RecordingPlacer placer;
    float angle = -10.0f;
    weed({0, 0, 1, 100, 0, 2, 0, 1, 3}, 3, 0, 0, &angle, counters, &placer);
    EXPECT_EQ(placer.centres, (std::vector<std::vector<int32_t>>{{100, 0, 2}}));
}

// Chains made of exactly straight stretches in many directions, with
// repeated vertices, steps back along the line and stray vertices between.
std::vector<int32_t> straight_stretches(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> direction(-40, 40);
    std::uniform_int_distribution<int> run_length(1, 12);
    std::uniform_int_distribution<int> event(0, 9);
    std::vector<int32_t> chain{0, 0};
    for (int stretch = 0; stretch < 60; ++stretch) {
        const int dx = direction(random);
        const int dy = direction(random);
        for (int n = run_length(random); n > 0; --n) {
            const int32_t x = chain[chain.size() - 2];
            const int32_t y = chain[chain.size() - 1];
            switch (event(random)) {
                case 0:  // repeated vertex
                    chain.insert(chain.end(), {x, y});
                    break;
                case 1:  // a step back along the line
                    chain.insert(chain.end(), {x - dx, y - dy});
                    break;
                case 2:  // a vertex just off the line
                    chain.insert(chain.end(), {x + dx, y + dy + 1});
                    break;
                default:
                    chain.insert(chain.end(), {x + dx, y + dy});
            }
        }
    }
    return chain;
}

TEST(WeedDataStraightRuns, AgreeWithVertexByVertexTests) {
    // A short-step limit far beyond the chain never rejects a vertex, but it
    // makes the weeder test every intermediate vertex one by one; without it
    // straight runs are recognised whole. Both must keep the same vertices.
    const std::array<std::array<float, 2>, 4> tolerances{{{0, 0.005f}, {10, 0}, {3, 2.5f}, {0, 1e-7f}}};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const auto chain = straight_stretches(seed);
        for (const auto& [dist, angle] : tolerances) {
            Counters a, b;
            float angle_a = angle, angle_b = angle;
            EXPECT_EQ(weed(chain, 2, dist, 0, &angle_a, a), weed(chain, 2, dist, -1e9f, &angle_b, b))
                << "seed " << seed << " dist " << dist << " angle " << angle;
        }
    }
}

TEST(WeedDataStraightRuns, StepBackOrRepeatBreaksTheRun) {
    Counters counters;
    float angle = 0.0f;
    // Seen from the anchor the step back has the same slope, but its
    // bearing turns by 180 degrees.
    EXPECT_EQ(weed({0, 0, 100, 0, 50, 0, 200, 0}, 2, 0, 0, &angle, counters),
              (std::vector<int32_t>{0, 0, 100, 0, 50, 0, 200, 0}));
    // A repeated vertex has the bearing of a zero vector (90).
    EXPECT_EQ(weed({0, 0, 10, 0, 10, 0, 20, 0}, 2, 0, 0, &angle, counters),
              (std::vector<int32_t>{0, 0, 10, 0, 10, 0, 20, 0}));
    // A long diagonal run goes down to its ends; the chord length still counts.
    std::vector<int32_t> diagonal;
    for (int n = 0; n <= 1000; ++n) diagonal.insert(diagonal.end(), {n * 3, n * 4});
    EXPECT_EQ(weed(diagonal, 2, 0, 0, &angle, counters), (std::vector<int32_t>{0, 0, 3000, 4000}));
    float no_angle = 0.0f;
    const auto limited = weed(diagonal, 2, 0, 2000, &no_angle, counters);
    EXPECT_EQ(limited, (std::vector<int32_t>{0, 0, 1200, 1600, 2400, 3200, 3000, 4000}));
}

// The weeding rules read directly, vertex by vertex and chord by chord, for
// comparison with the weeder's shortcuts.
std::vector<int32_t> reference_weed(const std::vector<int32_t>& v, float dist, float length, float angle) {
    const auto last = static_cast<int32_t>(v.size() / 2) - 1;
    auto at = [&](int32_t n) { return &v[static_cast<size_t>(n) * 2]; };
    auto dist2 = [&](int32_t a, int32_t b) { return distance(at(a), at(b), 2); };
    auto bear = [&](int32_t a, int32_t b) {
        return bearing(static_cast<int64_t>(at(a)[0]) - at(b)[0], static_cast<int64_t>(at(a)[1]) - at(b)[1]);
    };
    if (dist == 0 && length == 0 && angle == 0) angle = 0.005f;
    const int32_t short_step = std::abs(static_cast<int32_t>(length));
    std::vector<bool> keep(static_cast<size_t>(last) + 1, false);
    keep.front() = keep.back() = true;
    int32_t w = 0;
    for (int32_t i = 2; i <= last; ++i) {
        for (int32_t k = w + 1; k < i; ++k) {
            bool fails = false;
            if (dist > 0) {
                const double m1 = Dslope(at(w), at(k));
                const double m2 = Dslope(at(w), at(i));
                if (m1 != m2) {
                    int32_t f[2];
                    if (m2 == 0) {
                        f[0] = at(k)[0];
                        f[1] = at(w)[1];
                    } else if (m2 == kVerticalSlope) {
                        f[0] = at(w)[0];
                        f[1] = at(k)[1];
                    } else {
                        const double b1 = at(w)[1] - m2 * at(w)[0];
                        const double b2 = at(k)[1] + at(k)[0] / m2;
                        const double fx = (b2 - b1) / (m2 + 1 / m2);
                        f[0] = round_half_away(fx);
                        f[1] = round_half_away(m2 * fx + b1);
                    }
                    const bool inside = f[0] >= std::min(at(w)[0], at(i)[0]) && f[0] <= std::max(at(w)[0], at(i)[0]) &&
                                        f[1] >= std::min(at(w)[1], at(i)[1]) && f[1] <= std::max(at(w)[1], at(i)[1]);
                    if (!inside) {
                        fails = true;
                    } else if (distance(at(k), f, 2) > dist) {
                        fails = !(std::fabs(m2 - m1) * dist2(w, i) <= dist || dist2(k, w) <= dist || dist2(k, i) <= dist);
                    }
                }
            }
            if (!fails && length > 0) fails = dist2(w, i) > length;
            if (!fails && length < 0) fails = dist2(w, k) > short_step && dist2(k, i) > short_step;
            if (!fails && angle > 0) {
                const double a2 = bear(w, i);
                fails = std::fabs(bear(w, k) - a2) > angle || std::fabs(bear(k, i) - a2) > angle;
            }
            if (fails) {
                keep[static_cast<size_t>(i - 1)] = true;
                w = i - 1;
                break;
            }
        }
    }
    std::vector<int32_t> out;
    for (int32_t n = 0; n <= last; ++n) {
        if (keep[static_cast<size_t>(n)]) out.insert(out.end(), {at(n)[0], at(n)[1]});
    }
    return out;
}

// Smooth arcs sampled densely, at any orientation and far from the origin,
// with a little digitising noise: long chords that pass for many vertices.
std::vector<int32_t> arc(double radius, double start, double step, int count, double ox, double oy, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-1, 1);
    std::vector<int32_t> chain;
    for (int n = 0; n < count; ++n) {
        const double a = start + n * step / radius;
        chain.push_back(static_cast<int32_t>(std::lround(ox + radius * std::cos(a))) + noise(random));
        chain.push_back(static_cast<int32_t>(std::lround(oy + radius * std::sin(a))) + noise(random));
    }
    return chain;
}

TEST(WeedDataShortcuts, AgreeWithTheRulesReadDirectly) {
    const std::array<std::array<float, 3>, 8> tolerances{
        {{10, 0, 0}, {2, 0, 0}, {0.5f, 0, 0}, {0, 0, 5}, {0, 0, 0}, {10, 0, 5}, {25, 400, 0}, {0, 0, 60}}};
    std::vector<std::vector<int32_t>> chains;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const double start = seed * 1.1;
        chains.push_back(arc(5e4 * seed, start, 10.0, 700, 0, 0, seed));
        chains.push_back(arc(2e5, start, 25.0, 700, 1.5e9, -1.9e9, seed));
        chains.push_back(arc(3e3, start, 7.0, 700, -4e8, 4e8, seed));
        chains.push_back(straight_stretches(seed));
    }
    for (const auto& chain : chains) {
        for (const auto& [dist, length, angle] : tolerances) {
            Counters counters;
            float a = angle;
            ASSERT_EQ(weed(chain, 2, dist, length, &a, counters), reference_weed(chain, dist, length, angle))
                << "dist " << dist << " length " << length << " angle " << angle << " first vertex " << chain[0]
                << "," << chain[1];
        }
    }
}

TEST(WeedDataLimits, ChainBeyondTheWorkArraysIsLeftUnchanged) {
    Counters counters;
    float angle = 0.0f;
    const auto chain = straight_run(kWeedMaxVertices + 1, 1);
    int result = -1;
    testing::internal::CaptureStdout();
    const auto weeded = weed(chain, 2, 0, 0, &angle, counters, nullptr, &result);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, weed_chain_too_long);
    EXPECT_EQ(weeded, chain);
    EXPECT_NE(out.find("exceeds the weeding limit of 25000"), std::string::npos) << out;
    EXPECT_EQ(counters.in, 0);
    EXPECT_EQ(counters.out, 0);
}

TEST(WeedDataLimits, LastIndexBeyondTheArrayIsRefused) {
    Counters counters;
    float angle = 0.0f;
    std::vector<int32_t> chain{0, 0, 1, 0, 2, 0};
    int32_t last = 5;
    testing::internal::CaptureStdout();
    const int result = weed_data(chain, &last, 0, 0, &angle, 0, &counters.in, &counters.out, 0, 1.0,
                                 &counters.zingers, 1.0, kOrigin.data(), nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, weed_bad_argument);
    EXPECT_EQ(last, 5);
    EXPECT_EQ(chain, (std::vector<int32_t>{0, 0, 1, 0, 2, 0}));
}

TEST(WeedDataLimits, LongestAcceptedChainIsWeeded) {
    // A zigzag keeps every vertex, so the whole flag table is in use.
    auto chain = straight_run(kWeedMaxVertices, 10);
    for (size_t n = 3; n < chain.size(); n += 4) chain[n] = 100;
    Counters counters;
    float angle = 0.0f;
    EXPECT_EQ(weed(chain, 2, 10, 0, &angle, counters), chain);
    EXPECT_EQ(counters.out, kWeedMaxVertices);
}

}  // namespace
}  // namespace vornel::toolkit
