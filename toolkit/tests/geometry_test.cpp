#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "toolkit/geometry/distance.h"
#include "toolkit/geometry/intersect.h"
#include "toolkit/geometry/rounding.h"
#include "toolkit/geometry/slope.h"
#include "toolkit/tests/case_name.h"

namespace vornel::toolkit {
namespace {

using P = std::array<int32_t, 2>;

TEST(Slope, VerticalSentinelAndSinglePrecision) {
    const P a{10, 5}, b{10, 90}, o{0, 0}, c{4, 2};
    EXPECT_EQ(slope(a.data(), b.data()), 99999.0f);
    EXPECT_EQ(Dslope(a.data(), b.data()), 99999.0);
    EXPECT_EQ(slope(o.data(), c.data()), 0.5f);
    // 1/3 differs in the two precisions: slope divides in float.
    const P d{3, 1};
    EXPECT_EQ(slope(o.data(), d.data()), 1.0f / 3.0f);
    EXPECT_EQ(Dslope(o.data(), d.data()), 1.0 / 3.0);
    // Extreme coordinates do not overflow the difference.
    const P lo{-2147483647, -2147483647}, hi{2147483647, 2147483647};
    EXPECT_DOUBLE_EQ(Dslope(lo.data(), hi.data()), 1.0);
}

TEST(Rounding, HalfAwayFromZeroAndSaturates) {
    EXPECT_EQ(round_half_away(2.5), 3);
    EXPECT_EQ(round_half_away(-2.5), -3);
    EXPECT_EQ(round_half_away(2.4999), 2);
    EXPECT_EQ(round_half_away(-0.4), 0);
    EXPECT_EQ(round_half_away(1e12), 2147483647);
    EXPECT_EQ(round_half_away(-1e12), -2147483647 - 1);
}

TEST(Distance, DimensionDecidesWhetherZCounts) {
    const std::array<int32_t, 3> a{0, 0, 0}, b{3, 4, 12};
    EXPECT_DOUBLE_EQ(distance(a.data(), b.data(), 2), 5.0);
    EXPECT_DOUBLE_EQ(distance(a.data(), b.data(), 3), 13.0);
}

TEST(Distance, ChainLengthsInSpaceAndPlan) {
    const std::vector<int32_t> chain3d{0, 0, 0, 3, 4, 12, 3, 4, 12, 6, 8, 24};
    EXPECT_DOUBLE_EQ(tot_distance(4, chain3d, 3), 26.0);
    EXPECT_DOUBLE_EQ(tot_Hdistance(4, chain3d, 3), 10.0);
    EXPECT_DOUBLE_EQ(tot_distance(3, chain3d, 3), 13.0);  // only the first count vertices

    const std::vector<int32_t> chain2d{0, 0, 3, 4, 3, 10};
    EXPECT_DOUBLE_EQ(tot_distance(3, chain2d, 2), 11.0);
    EXPECT_DOUBLE_EQ(tot_Hdistance(3, chain2d, 2), 11.0);
    for (int32_t count : {1, 0, -5}) {
        EXPECT_EQ(tot_distance(count, chain2d, 2), 0.0) << count;
        EXPECT_EQ(tot_Hdistance(count, chain2d, 2), 0.0) << count;
    }
    // A count beyond the array does not read past it.
    EXPECT_DOUBLE_EQ(tot_distance(50, chain2d, 2), 11.0);
    EXPECT_EQ(tot_distance(3, chain2d, 0), 0.0);
}

struct IntersectCase {
    const char* what;
    P a1, a2, b1, b2;
    int16_t status;
    P point;
};

class Intersect : public testing::TestWithParam<IntersectCase> {};

TEST_P(Intersect, StatusAndPoint) {
    const auto& c = GetParam();
    P result{-1, -1};
    int16_t status = 99;
    intersect(c.a1.data(), c.a2.data(), c.b1.data(), c.b2.data(), result.data(), &status, 0);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(result, c.point);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Intersect,
    testing::Values(
        IntersectCase{"crossing diagonals", {0, 0}, {10, 10}, {0, 10}, {10, 0}, 11, {5, 5}},
        // On a horizontal or vertical segment nothing is strictly inside.
        IntersectCase{"horizontal meets vertical", {0, 0}, {10, 0}, {5, -5}, {5, 5}, 22, {5, 0}},
        IntersectCase{"two verticals", {0, 0}, {0, 100}, {1000, 150}, {1000, 400}, -11, {500, 125}},
        IntersectCase{"meet at both ends", {0, 0}, {10, 10}, {10, 10}, {20, 0}, 0, {10, 10}},
        IntersectCase{"inside 1, end of 2", {0, 0}, {10, 10}, {5, 5}, {9, 1}, 1, {5, 5}},
        IntersectCase{"outside 1, end of 2", {0, 0}, {10, 10}, {20, 20}, {30, 10}, 2, {20, 20}},
        IntersectCase{"end of 1, inside 2", {0, 0}, {10, 10}, {0, 20}, {20, 0}, 10, {10, 10}},
        IntersectCase{"outside 1, inside 2", {0, 0}, {10, 10}, {20, 0}, {10, 30}, 12, {15, 15}},
        IntersectCase{"inside 1, outside 2", {0, 0}, {20, 20}, {20, 0}, {15, 5}, 21, {10, 10}},
        IntersectCase{"end of 1, outside 2", {0, 0}, {10, 10}, {20, 0}, {15, 5}, 20, {10, 10}},
        IntersectCase{"beyond both", {0, 0}, {2, 2}, {20, 0}, {18, 2}, 22, {10, 10}},
        IntersectCase{"segment 1 vertical", {4, 0}, {4, 10}, {0, 0}, {10, 10}, 12, {4, 4}},
        // Parallel but apart: closest endpoints a2-b1, midpoint rounded away from zero.
        IntersectCase{"parallel apart", {0, 0}, {10, 0}, {13, 5}, {30, 5}, -1, {12, 3}},
        IntersectCase{"collinear", {0, 0}, {10, 10}, {12, 12}, {20, 20}, -11, {11, 11}},
        // Slopes 1 and 1.0005 are nearly parallel; the intercepts 0 and -0.525
        // differ, so the pair joins at a midpoint, not the far crossing.
        IntersectCase{"nearly parallel", {0, 0}, {1000, 1000}, {1050, 1050}, {3050, 3051}, -2, {1025, 1025}},
        IntersectCase{"nearly collinear", {0, 100000}, {1000, 101000}, {2000, 102000}, {4000, 104001}, -22, {1500, 101500}},
        // A tie between two endpoint distances keeps the pair listed first (a1-b1).
        IntersectCase{"tie keeps first pair", {0, 0}, {0, 10}, {-4, 5}, {-4, 15}, -11, {-2, 3}},
        IntersectCase{"negative midpoint rounds away", {-1, 0}, {-1, 10}, {-4, -100}, {-4, -200}, -11, {-3, -50}}),
    CaseName());

TEST(IntersectTrace, DebugFlagPrintsTheSteps) {
    const P a1{0, 0}, a2{10, 10}, b1{0, 10}, b2{10, 0};
    P result{};
    int16_t status = 0;
    testing::internal::CaptureStdout();
    intersect(a1.data(), a2.data(), b1.data(), b2.data(), result.data(), &status, 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "\nsl_1=1.000000 - sl_2=-1.000000\na_1=0.000000 - a_2=10.000000"
              "\nint_status=11\nt.x=5.000000 t.y=5.000000\ni.x=5 i.y=5");
}

}  // namespace
}  // namespace vornel::toolkit
