#include <gtest/gtest.h>

#include <vector>

#include "toolkit/weed/raster_weed.h"
#include "toolkit/tests/case_name.h"

namespace vornel::toolkit {
namespace {

struct RasterCase {
    const char* what;
    std::vector<int32_t> chain;
    int32_t pixel;
    std::vector<int32_t> expected;
};

// Runs an operation on a buffer with room to spare and returns the used part.
template <typename Operation>
std::vector<int32_t> run(const std::vector<int32_t>& chain, int32_t pixel, Operation operation) {
    std::vector<int32_t> buffer(chain.size() * 8 + 64, -7);
    std::copy(chain.begin(), chain.end(), buffer.begin());
    auto last = static_cast<int32_t>(chain.size() / 2) - 1;
    EXPECT_EQ(operation(&last, std::span<int32_t>(buffer), pixel), weed_done);
    buffer.resize(static_cast<size_t>(last + 1) * 2);
    return buffer;
}

class ExtendVerts : public testing::TestWithParam<RasterCase> {};

TEST_P(ExtendVerts, DensifiesToPixelSpacing) {
    const auto& c = GetParam();
    EXPECT_EQ(run(c.chain, c.pixel, extend_verts), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtendVerts,
    testing::Values(
        RasterCase{"horizontal run", {0, 0, 100, 0}, 10,
                   {0, 0, 10, 0, 20, 0, 30, 0, 40, 0, 50, 0, 60, 0, 70, 0, 80, 0, 90, 0, 100, 0}},
        RasterCase{"partial pixel step", {0, 0, 25, 0}, 10, {0, 0, 10, 0, 25, 0}},
        RasterCase{"right to left", {40, 5, 0, 5}, 10, {40, 5, 30, 5, 20, 5, 10, 5, 0, 5}},
        RasterCase{"vertical downward", {0, 0, 0, -30}, 10, {0, 0, 0, -10, 0, -20, 0, -30}},
        RasterCase{"diagonal", {0, 0, 30, 40}, 10, {0, 0, 6, 8, 12, 16, 18, 24, 24, 32, 30, 40}},
        RasterCase{"diagonal truncates toward zero", {0, 0, -30, -40}, 10,
                   {0, 0, -6, -8, -12, -16, -18, -24, -24, -32, -30, -40}},
        RasterCase{"steps under two pixels untouched", {0, 0, 15, 0, 15, 19}, 10, {0, 0, 15, 0, 15, 19}},
        RasterCase{"several segments", {0, 0, 20, 0, 20, 20}, 10, {0, 0, 10, 0, 20, 0, 20, 10, 20, 20}},
        RasterCase{"single vertex", {3, 3}, 10, {3, 3}}),
    CaseName());

class WeedRasVerts : public testing::TestWithParam<RasterCase> {};

TEST_P(WeedRasVerts, ReplacesStaircasesAndKeepsCorners) {
    const auto& c = GetParam();
    EXPECT_EQ(run(c.chain, c.pixel, weed_ras_verts), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WeedRasVerts,
    testing::Values(
        RasterCase{"straight run collapses", {0, 0, 10, 0, 20, 0, 30, 0, 40, 0}, 10, {0, 0, 40, 0}},
        RasterCase{"pixel staircase becomes a diagonal", {0, 0, 10, 0, 10, 10, 20, 10, 20, 20, 30, 20}, 10,
                   {0, 0, 5, 0, 25, 20, 30, 20}},
        RasterCase{"corner between long steps kept", {0, 0, 30, 0, 30, 30}, 10, {0, 0, 15, 0, 30, 0, 30, 30}},
        RasterCase{"two vertices on one slope unchanged", {0, 0, 30, 6}, 10, {0, 0, 30, 6}},
        RasterCase{"single vertex unchanged", {4, 4}, 10, {4, 4}}),
    CaseName());

TEST(RasterWeedChain, DensifyThenWeedRestoresAStraightRun) {
    std::vector<int32_t> buffer(400, 0);
    const std::vector<int32_t> chain{0, 0, 100, 0, 100, 50};
    std::copy(chain.begin(), chain.end(), buffer.begin());
    int32_t last = 2;
    ASSERT_EQ(extend_verts(&last, buffer, 10), weed_done);
    EXPECT_EQ(last, 15);
    ASSERT_EQ(weed_ras_verts(&last, buffer, 10), weed_done);
    buffer.resize(static_cast<size_t>(last + 1) * 2);
    // The corner at (100,0) lies between two one-pixel steps, so the weeder
    // cuts it with the midpoints on either side.
    EXPECT_EQ(buffer, (std::vector<int32_t>{0, 0, 95, 0, 100, 5, 100, 50}));
}

// Errors leave the caller's chain exactly as it was.
struct RasterLimitCase {
    const char* what;
    std::vector<int32_t> chain;
    size_t buffer_words;
    int32_t pixel;
    bool densify;
    int result;
};

class RasterLimits : public testing::TestWithParam<RasterLimitCase> {};

TEST_P(RasterLimits, ReportAndLeaveTheChain) {
    const auto& c = GetParam();
    std::vector<int32_t> buffer(std::max(c.buffer_words, c.chain.size()), -7);
    std::copy(c.chain.begin(), c.chain.end(), buffer.begin());
    const auto before = buffer;
    const auto last_in = static_cast<int32_t>(c.chain.size() / 2) - 1;
    int32_t last = last_in;
    const std::span<int32_t> view(buffer.data(), c.buffer_words);
    testing::internal::CaptureStdout();
    const int result = c.densify ? extend_verts(&last, view, c.pixel) : weed_ras_verts(&last, view, c.pixel);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(last, last_in);
    EXPECT_EQ(buffer, before);
    EXPECT_FALSE(out.empty());
}

std::vector<int32_t> long_staircase(int steps) {
    std::vector<int32_t> chain{0, 0};
    for (int n = 0; n < steps; ++n) {
        const int32_t x = chain[chain.size() - 2];
        const int32_t y = chain[chain.size() - 1];
        chain.push_back(n % 2 == 0 ? x + 30 : x);
        chain.push_back(n % 2 == 0 ? y : y + 30);
    }
    return chain;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RasterLimits,
    testing::Values(
        RasterLimitCase{"zero pixel", {0, 0, 100, 0}, 100, 0, true, weed_bad_argument},
        RasterLimitCase{"negative pixel", {0, 0, 100, 0}, 100, -5, true, weed_bad_argument},
        RasterLimitCase{"densified beyond caller buffer", {0, 0, 100, 0}, 8, 10, true, weed_chain_too_long},
        // 40,001 points would be needed, more than densifying may produce.
        RasterLimitCase{"densified beyond work array", {0, 0, 400000, 0}, 100000, 10, true, weed_chain_too_long},
        // A segment of 2^31 pixels would wrap a 16-bit step count.
        RasterLimitCase{"huge step count", {-2000000000, 0, 2000000000, 0}, 100000, 1, true,
                        weed_chain_too_long},
        RasterLimitCase{"last index beyond array", {0, 0, 100, 0, 100, 100}, 4, 10, true, weed_bad_argument},
        RasterLimitCase{"kept corner beyond caller buffer", {0, 0, 30, 0, 30, 30}, 6, 10, false,
                        weed_chain_too_long},
        // Every step of a long staircase is a corner: two points per step.
        RasterLimitCase{"corners beyond work array", long_staircase(12600), 60000, 10, false,
                        weed_chain_too_long},
        RasterLimitCase{"weed last index beyond array", {0, 0, 30, 0, 30, 30}, 4, 10, false,
                        weed_bad_argument}),
    CaseName());

TEST(RasterLimitsEdge, LongestDensifiedChainFits) {
    // Exactly 37,500 points: 37,499 pixel steps along one segment.
    std::vector<int32_t> buffer(2 * kDensifyMaxVertices, 0);
    buffer[2] = 37499;
    int32_t last = 1;
    ASSERT_EQ(extend_verts(&last, buffer, 1), weed_done);
    EXPECT_EQ(last, kDensifyMaxVertices - 1);
    EXPECT_EQ(buffer[2 * 37498], 37498);
}

}  // namespace
}  // namespace vornel::toolkit
