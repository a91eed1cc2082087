#include <gtest/gtest.h>

#include <vector>

#include "toolkit/centroid/xycord_in.h"
#include "toolkit/tests/case_name.h"

namespace vornel::toolkit {
namespace {

struct CentroidCase {
    const char* what;
    std::vector<int32_t> outline;  // x, y pairs
    int32_t x, y, no_crossing;
};

CentroidPoint run(const std::vector<int32_t>& vertices, int16_t dimension, int16_t last) {
    CentroidPoint result{-9, -9, -9};
    EXPECT_EQ(XYcord_in(&result, last, vertices, dimension, 0), &result);
    return result;
}

class XYcordIn : public testing::TestWithParam<CentroidCase> {};

TEST_P(XYcordIn, PointAndFlag) {
    const auto& c = GetParam();
    const auto last = static_cast<int16_t>(c.outline.size() / 2 - 1);
    const auto r = run(c.outline, 2, last);
    EXPECT_EQ(r.x, c.x);
    EXPECT_EQ(r.y, c.y);
    EXPECT_EQ(r.no_crossing, c.no_crossing);

    // The same outline with elevations: only x and y are read.
    std::vector<int32_t> with_z;
    for (size_t n = 0; n < c.outline.size(); n += 2) with_z.insert(with_z.end(), {c.outline[n], c.outline[n + 1], 777});
    const auto r3 = run(with_z, 3, last);
    EXPECT_EQ(r3.x, c.x);
    EXPECT_EQ(r3.y, c.y);
    EXPECT_EQ(r3.no_crossing, c.no_crossing);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XYcordIn,
    testing::Values(
        CentroidCase{"square", {0, 0, 100, 0, 100, 100, 0, 100, 0, 0}, 50, 50, 0},
        // The box centre (150,150) lies in the notch; the two lowest crossings are 0 and 100.
        CentroidCase{"u shape", {0, 0, 300, 0, 300, 300, 200, 300, 200, 100, 100, 100, 100, 300, 0, 300, 0, 0},
                     150, 50, 0},
        // Each bound is halved on its own: 1/2 + 101/2 = 0 + 50.
        CentroidCase{"halves truncate separately", {1, 0, 101, 0, 101, 100, 1, 100, 1, 0}, 50, 50, 0},
        CentroidCase{"negative coordinates", {-101, -3, -1, -3, -1, -99, -101, -99, -101, -3}, -50, -50, 0},
        // Vertices on the centre line count once, as the start of their segment.
        CentroidCase{"centre line through vertices", {50, 0, 100, 50, 50, 100, 0, 50, 50, 0}, 50, 50, 0},
        CentroidCase{"sloped crossing", {0, 0, 100, 0, 30, 100, 0, 0}, 50, 35, 0},
        CentroidCase{"crossing at centre height only", {0, 50, 100, 50}, 50, 50, 1},
        CentroidCase{"one crossing above", {0, 100, 100, 100, 100, 0}, 50, 75, 0},
        CentroidCase{"one crossing below", {0, 0, 100, 0, 100, 100}, 50, 25, 0},
        // An odd count with two above: between the two highest.
        CentroidCase{"two above one below", {0, 300, 100, 300, 100, 200, 0, 200, 0, 120, 100, 120, 100, 0}, 50, 250, 0},
        CentroidCase{"vertical line", {0, 0, 0, 100}, 0, 25, 0}),
    CaseName());

TEST(XYcordInEdges, EmptyOutlineAndShortArray) {
    const std::vector<int32_t> square{0, 0, 100, 0, 100, 100, 0, 100, 0, 0};
    const auto empty = run(square, 2, -1);
    EXPECT_EQ(empty.x, 0);
    EXPECT_EQ(empty.y, 0);
    EXPECT_EQ(empty.no_crossing, 1);
    // A last index beyond the array reads only the vertices present.
    const auto clipped = run(square, 2, 300);
    EXPECT_EQ(clipped.x, 50);
    EXPECT_EQ(clipped.y, 50);
}

}  // namespace
}  // namespace vornel::toolkit
