// output_data and the zinger flags against a real dgnhost: every output kind
// within the element limits, checked with dgntool dump.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "toolkit/output/output_data.h"
#include "toolkit/tests/case_name.h"
#include "toolkit/tests/design_fixture.h"
#include "toolkit/weed/weed_data.h"
#include "toolkit/zinger/design_zinger_flags.h"

namespace vornel::toolkit {
namespace {

constexpr int16_t kLevel = 10;

// count vertices along the x axis, 10 apart (with z = 7 in three dimensions).
std::vector<int32_t> straight(int count, int dimension) {
    std::vector<int32_t> v;
    for (int i = 0; i < count; ++i) {
        v.push_back(i * 10);
        v.push_back(0);
        if (dimension == 3) v.push_back(7);
    }
    return v;
}

std::vector<int32_t> closed_square(int dimension) {
    std::vector<int32_t> v;
    for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}) {
        v.push_back(x);
        v.push_back(y);
        if (dimension == 3) v.push_back(0);
    }
    return v;
}

// "type:level:vertices" of every written element; headers show 0 vertices.
std::vector<std::string> summary(const std::vector<DumpedElement>& elements) {
    std::vector<std::string> out;
    for (const auto& e : elements) {
        out.push_back(e.at("type") + ":" + e.at("level") + ":" + std::to_string(DesignFixture::vertex_count(e)));
    }
    return out;
}

struct OutputCase {
    const char* what;
    int16_t dimension;
    std::vector<int32_t> chain;
    int16_t kind;
    int16_t whole_pieces = 0;
    int16_t complex_flag = 0;
    int16_t max_vertices = 0;
    int16_t zero_count = 0;
    int16_t zero_level = 0;
    // expected
    int32_t returned;
    int32_t elements;
    std::vector<std::string> written;
    int16_t zero_count_after = 0;
};

class OutputData : public DesignFixture, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(OutputData, WritesThePiecesTheChainNeeds) {
    const auto& c = GetParam();
    open("dimension " + std::to_string(c.dimension) + "\n");
    const int16_t mode[2] = {2, 0};
    const std::array<int16_t, 2> no_links{0, -1};
    Symbology symbology{0, 1, 2, 3};
    int32_t elements = 0;
    int16_t zero_count = c.zero_count;
    int16_t status = -1;
    const auto last = static_cast<int32_t>(c.chain.size() / static_cast<size_t>(c.dimension)) - 1;
    const int32_t returned =
        output_data(last, c.chain, c.whole_pieces, c.complex_flag, c.kind, &elements, &zero_count, c.zero_level,
                    kLevel, mode, no_links, &symbology, c.max_vertices, c.dimension, nullptr, 0, 0, last + 1, 0,
                    &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(returned, c.returned);
    EXPECT_EQ(elements, c.elements);
    EXPECT_EQ(zero_count, c.zero_count_after);
    EXPECT_EQ(symbology.weight, 2);
    EXPECT_EQ(symbology.color, 3);
    EXPECT_EQ(summary(close_and_dump()), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, OutputData,
    ::testing::Values(
        OutputCase{"closed_2d_shape", 2, closed_square(2), kOutputShape, 0, 0, 0, 0, 0, 4, 1, {"6:10:5"}},
        OutputCase{"short_line_string", 2, straight(5, 2), kOutputLineString, 0, 0, 0, 0, 0, 4, 1, {"4:10:5"}},
        OutputCase{"two_vertices_make_a_line", 2, straight(2, 2), kOutputLineString, 0, 0, 0, 0, 0, 1, 1, {"3:10:2"}},
        OutputCase{"long_chain_in_pieces", 2, straight(250, 2), kOutputLineString, 0, 0, 0, 0, 0, 249, 3,
                   {"4:10:101", "4:10:101", "4:10:50"}},
        OutputCase{"whole_pieces_only", 2, straight(250, 2), kOutputLineString, 1, 0, 0, 0, 0, 200, 2,
                   {"4:10:101", "4:10:101"}},
        OutputCase{"shorter_than_one_whole_piece", 2, straight(50, 2), kOutputLineString, 1, 0, 0, 0, 0, 0, 0, {}},
        OutputCase{"grouped_as_complex_chain", 2, straight(250, 2), kOutputLineString, 0, 1, 0, 0, 0, 249, 3,
                   {"12:10:0", "4:10:101", "4:10:101", "4:10:50"}},
        OutputCase{"one_piece_never_grouped", 2, straight(101, 2), kOutputLineString, 0, 1, 0, 0, 0, 100, 1,
                   {"4:10:101"}},
        OutputCase{"maximum_vertices_per_element", 2, straight(99, 2), kOutputLineString, 0, 0, 50, 0, 0, 98, 2,
                   {"4:10:50", "4:10:50"}},
        OutputCase{"maximum_beyond_an_element_is_cut", 2, straight(150, 2), kOutputLineString, 0, 0, 200, 0, 0, 149,
                   2, {"4:10:101", "4:10:50"}},
        OutputCase{"curves_hold_97_vertices", 2, straight(120, 2), kOutputCurve, 0, 0, 0, 0, 0, 119, 2,
                   {"11:10:101", "11:10:28"}},
        OutputCase{"two_vertex_curve_gets_a_middle_vertex", 2, straight(2, 2), kOutputCurve, 0, 0, 0, 0, 0, 1, 1,
                   {"11:10:7"}},
        OutputCase{"bspline_poles", 2, straight(6, 2), 5, 0, 0, 0, 0, 0, 5, 1, {"27:10:0", "21:10:6"}},
        OutputCase{"zero_length_piece_moves_level", 2, {5, 5, 5, 5}, kOutputLineString, 0, 0, 0, 1, 63, 1, 1,
                   {"4:63:2"}, 2},
        OutputCase{"zero_length_piece_dropped", 2, {5, 5, 5, 5}, kOutputLineString, 0, 0, 0, 2, 0, 1, 1, {}, 3},
        OutputCase{"zero_length_handling_off_writes_a_line", 2, {5, 5, 5, 5}, kOutputLineString, 0, 0, 0, 0, 63, 1,
                   1, {"3:10:2"}},
        OutputCase{"zero_length_curve_moves_level", 2, {5, 5, 5, 5}, kOutputCurve, 0, 0, 0, 1, 63, 1, 1,
                   {"11:63:7"}, 2},
        OutputCase{"zero_length_curve_handling_off_is_a_line", 2, {5, 5, 5, 5}, kOutputCurve, 0, 0, 0, 0, 0, 1, 1,
                   {"3:10:2"}},
        OutputCase{"three_dimensional_pieces", 3, straight(150, 3), kOutputLineString, 0, 1, 0, 0, 0, 149, 2,
                   {"12:10:0", "4:10:101", "4:10:50"}}),
    CaseName{});

class OutputDataDesign : public DesignFixture {
protected:
    const int16_t mode_[2] = {2, 0};
    const std::array<int16_t, 2> no_links_{0, -1};
    int32_t elements_ = 0;
    int16_t zero_count_ = 0;
    int16_t status_ = -1;
};

TEST_F(OutputDataDesign, OpenOrThreeDimensionalShapeBecomesMarkedLineString) {
    for (const int16_t dimension : {int16_t{2}, int16_t{3}}) {
        SCOPED_TRACE(dimension);
        open("dimension " + std::to_string(dimension) + "\n");
        // Open in 2D (the last vertex moved), closed but 3D in 3D.
        auto chain = closed_square(dimension);
        if (dimension == 2) chain[chain.size() - 2] = 50;
        Symbology symbology{0, 1, 2, 3};
        ::testing::internal::CaptureStdout();
        output_data(4, chain, 0, 0, kOutputShape, &elements_, &zero_count_, 0, kLevel, mode_, no_links_, &symbology,
                    0, dimension, nullptr, 0, 0, 5, 0, &status_);
        const std::string printed = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed,
                  "\nElement could not be placed as shape due to lack of closure\n Element placed as linestring of "
                  "color 4 with weight 3\n");
        EXPECT_EQ(symbology.weight, 2);
        EXPECT_EQ(symbology.color, 3);
        const auto written = close_and_dump();
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(written[0].at("type"), "4");
        EXPECT_EQ(written[0].at("weight"), "3");
        EXPECT_EQ(written[0].at("color"), "4");
    }
}

TEST_F(OutputDataDesign, ElementsCarryModeLinkagesSymbologyAndMidpoint) {
    open("dimension 2\n");
    const int16_t grouped[2] = {1, 9};
    const std::array<int16_t, 6> links{1, -1, 0x0000, 12, 345, 0};
    Symbology symbology{2, 3, 4, 5};
    const std::vector<int32_t> chain{0, 0, 7, 11};
    output_data(1, chain, 0, 0, kOutputCurve, &elements_, &zero_count_, 0, kLevel, grouped, links, &symbology, 0, 2,
                nullptr, 0, 0, 2, 0, &status_);
    EXPECT_EQ(status_, 0);
    const auto written = close_and_dump();
    ASSERT_EQ(written.size(), 1u);
    const auto& curve = written[0];
    // The host adds the control vertices; the curve runs through 3,5
    // (3.5 and 5.5 truncated).
    EXPECT_NE(curve.at("vertices").find(";0,0;3,5;7,11;"), std::string::npos);
    EXPECT_EQ(curve.at("gg"), "9");
    EXPECT_EQ(curve.at("links"), "db:12/345");
    EXPECT_EQ(curve.at("class"), "2");
    EXPECT_EQ(curve.at("style"), "3");
    EXPECT_EQ(curve.at("weight"), "4");
    EXPECT_EQ(curve.at("color"), "5");
}

TEST_F(OutputDataDesign, BadCallsWriteNothing) {
    open("dimension 2\n");
    Symbology symbology{};
    const std::vector<int32_t> chain = straight(3, 2);
    // A negative last index: nothing, result 0, status untouched.
    EXPECT_EQ(output_data(-1, chain, 0, 0, 1, &elements_, &zero_count_, 0, kLevel, mode_, no_links_, &symbology, 0,
                          2, nullptr, 0, 0, 0, 0, &status_),
              0);
    EXPECT_EQ(status_, -1);
    // A last index beyond the array is refused instead of read past.
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(output_data(10, chain, 0, 0, 1, &elements_, &zero_count_, 0, kLevel, mode_, no_links_, &symbology, 0,
                          2, nullptr, 0, 0, 0, 0, &status_),
              0);
    EXPECT_NE(::testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(status_, 0);
    EXPECT_EQ(elements_, 0);
    EXPECT_TRUE(close_and_dump().empty());
}

TEST_F(OutputDataDesign, PlacementErrorIsPrintedAndReachesTheCaller) {
    // With the design file closed every placement fails; each failure is
    // printed and the status of the last one reaches the caller.
    open("dimension 2\n");
    close_and_dump();
    Symbology symbology{};
    const auto chain = straight(150, 2);
    ::testing::internal::CaptureStdout();
    output_data(149, chain, 0, 0, 5, &elements_, &zero_count_, 0, kLevel, mode_, no_links_, &symbology, 0, 2,
                nullptr, 0, 0, 0, 0, &status_);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(status_, 0);
    const std::string once = "\nError " + std::to_string(status_) + " placing B-SPLINE\n";
    EXPECT_EQ(printed, once + once);
    EXPECT_EQ(elements_, 2);
}

TEST_F(OutputDataDesign, ZingerFlagsAreEllipsesAtTheTurningVertices) {
    for (const int16_t dimension : {int16_t{2}, int16_t{3}}) {
        SCOPED_TRACE(dimension);
        open("dimension " + std::to_string(dimension) + "\n");
        std::vector<int32_t> chain;
        for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {100, 0}, {0, 1}, {100, 1}}) {
            chain.push_back(x);
            chain.push_back(y);
            if (dimension == 3) chain.push_back(20);
        }
        int32_t last = 3, in = 0, out = 0, zingers = 0;
        float angle = -10.0f;
        const double origin[2] = {0.0, 0.0};
        DesignZingerFlags flags;
        if (dimension == 2) {
            weed_data(chain, &last, 0.0f, 0.0f, &angle, 0, &in, &out, 33, 40.0, &zingers, 1.0, origin, &flags);
        } else {
            weed_data3d(chain, &last, 0.0f, 0.0f, &angle, 0, &in, &out, 33, 40.0, &zingers, 1.0, origin, &flags);
        }
        EXPECT_EQ(zingers, 2);
        EXPECT_EQ(last, 3);
        const auto written = close_and_dump();
        ASSERT_EQ(written.size(), 2u);
        const std::string z = dimension == 3 ? ",20" : "";
        for (size_t i = 0; i < 2; ++i) {
            const auto& e = written[i];
            EXPECT_EQ(e.at("type"), "15");
            EXPECT_EQ(e.at("level"), "33");
            EXPECT_EQ(e.at("style"), "2");
            EXPECT_EQ(e.at("weight"), "1");
            EXPECT_EQ(e.at("color"), "1");
            EXPECT_EQ(e.at("class"), "0");
            EXPECT_EQ(e.at("axes"), "40,30");
            EXPECT_EQ(e.at("links"), "-");
        }
        EXPECT_EQ(written[0].at("origin"), "100,0" + z);
        EXPECT_EQ(written[1].at("origin"), "0,1" + z);
        if (dimension == 2) {
            EXPECT_EQ(written[0].at("rotation"), "45");
        }
    }
}

}  // namespace
}  // namespace vornel::toolkit
