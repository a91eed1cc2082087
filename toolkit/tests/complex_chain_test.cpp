// type12toVerts against a real dgnhost: complex chains of lines, line
// strings, curves, arcs and B-spline curves made by dgntool.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "client/operations/operations.h"
#include "toolkit/complex/type12_to_verts.h"
#include "toolkit/tests/case_name.h"
#include "toolkit/tests/design_fixture.h"

namespace vornel::toolkit {
namespace {

// The first element after the file's header element.
constexpr int32_t kFirstElement = 1536;

class ComplexChain : public DesignFixture {
protected:
    std::array<uint16_t, 1024> header_{};
    std::vector<int32_t> out_ = std::vector<int32_t>(3 * 4000);
    int16_t count_ = -1;

    // Reads the chain header at kFirstElement and expands it.
    std::vector<int32_t> expand(int16_t dimension, int16_t stroke_curves = 0, int* result = nullptr) {
        read_header();
        const int r = type12toVerts(header_, kFirstElement, out_, &count_, dimension, stroke_curves, -1.0, -1.0, -1.0,
                                    0);
        if (result != nullptr) *result = r;
        return {out_.begin(), out_.begin() + count_ * dimension};
    }
    void read_header() {
        const int32_t file = 0, position = kFirstElement;
        ASSERT_EQ(ms_read_element(header_.data(), &file, &position), 0);
    }
};

struct ChainCase {
    const char* what;
    std::string components;
    std::vector<int32_t> expected;
};

class ComplexChainCases : public ComplexChain, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(ComplexChainCases, ExpandsToOneContinuousChain) {
    const auto& c = GetParam();
    open("dimension 2\nchain level=3 {\n" + c.components + "}\n");
    EXPECT_EQ(expand(2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Joins, ComplexChainCases,
    ::testing::Values(
        ChainCase{"line_then_line_string", "line : 0 0 10 0\nlinestring : 10 0 20 0 20 10\n",
                  {0, 0, 10, 0, 20, 0, 20, 10}},
        ChainCase{"line_string_stored_backward", "line : 0 0 10 0\nlinestring : 20 10 20 0 10 0\n",
                  {0, 0, 10, 0, 20, 0, 20, 10}},
        ChainCase{"first_line_stored_backward", "line : 10 0 0 0\nlinestring : 10 0 20 0 20 10\n",
                  {0, 0, 10, 0, 20, 0, 20, 10}},
        ChainCase{"both_stored_backward", "line : 10 0 0 0\nlinestring : 20 10 20 0 10 0\n",
                  {0, 0, 10, 0, 20, 0, 20, 10}},
        ChainCase{"later_component_reversed", "line : 0 0 10 0\nline : 10 0 20 0\nline : 30 0 20 0\n",
                  {0, 0, 10, 0, 20, 0, 30, 0}},
        ChainCase{"parallel_gap_joined_at_midpoint", "line : 0 0 10 0\nline : 10 0 20 0\nline : 22 0 30 0\n",
                  {0, 0, 10, 0, 20, 0, 21, 0, 22, 0, 30, 0}},
        ChainCase{"one_unit_gap_adds_no_midpoint", "line : 0 0 10 0\nline : 10 0 20 0\nline : 21 0 30 0\n",
                  {0, 0, 10, 0, 20, 0, 21, 0, 30, 0}},
        ChainCase{"crossing_ends_meet_at_the_crossing", "line : 0 0 10 0\nline : 8 -2 8 10\n",
                  {0, 0, 8, 0, 8, 10}},
        ChainCase{"overshooting_third_component_cut_back",
                  "line : 0 0 10 0\nline : 10 0 10 10\nline : 12 8 0 8\n", {0, 0, 10, 0, 10, 8, 0, 8}},
        ChainCase{"gap_at_the_start_turns_the_chain_and_meets_at_the_extensions", "line : 0 0 10 0\nline : -1 5 -1 20\n",
                  {10, 0, -1, 0, -1, 20}},
        ChainCase{"curve_by_its_vertices", "line : 0 0 10 0\ncurve : -10 0 -5 0 10 0 20 0 30 0 40 0 50 5 60 5\n",
                  {0, 0, 10, 0, 20, 0, 30, 0, 40, 0}},
        ChainCase{"other_elements_add_nothing", "line : 0 0 10 0\nellipse origin=5,5 axes=2,1\nline : 10 0 20 0\n",
                  {0, 0, 10, 0, 20, 0}}),
    CaseName{});

TEST_F(ComplexChain, ArcsCurvesAndBsplinesAreStrokedByTheHost) {
    open("dimension 2\nchain {\n"
         "line : 0 0 1000 0\n"
         "arc origin=1000,1000 axes=1000,1000 start=270 sweep=90\n"
         "curve : 2000 800 2000 900 2000 1000 2000 2000 3000 3000 3000 3100 3000 3200\n"
         "bspline order=3 {\npoles : 3000 3000 4000 4000 5000 3000 6000 4000\n}\n"
         "}\n");
    const auto chain = expand(2, 1);
    ASSERT_GE(count_, 8);
    EXPECT_EQ((std::vector<int32_t>{chain[0], chain[1], chain[2], chain[3]}), (std::vector<int32_t>{0, 0, 1000, 0}));
    EXPECT_EQ(chain[chain.size() - 2], 6000);
    EXPECT_EQ(chain[chain.size() - 1], 4000);
    // Stroked pieces follow one another: no step is longer than the longest
    // stored segment, so nothing was joined out of order.
    for (size_t i = 2; i < chain.size(); i += 2) {
        const double dx = chain[i] - chain[i - 2], dy = chain[i + 1] - chain[i - 1];
        EXPECT_LE(dx * dx + dy * dy, 1000.0 * 1000.0 * 2.0 + 1.0) << "vertex " << i / 2;
    }
}

TEST_F(ComplexChain, ThreeDimensionalComponentsKeepTheirElevations) {
    open("dimension 3\nchain {\nline : 0 0 5 10 0 6\nlinestring : 20 10 0 20 0 7 10 0 6\n}\n");
    EXPECT_EQ(expand(3), (std::vector<int32_t>{0, 0, 5, 10, 0, 6, 20, 0, 7, 20, 10, 0}));
}

TEST_F(ComplexChain, ChainLongerThanTheOutputIsCut) {
    open("dimension 2\nchain {\nline : 0 0 10 0\nlinestring : 10 0 20 0 20 10 30 10\n}\n");
    read_header();
    std::vector<int32_t> small(2 * 3);
    int16_t count = -1;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(type12toVerts(header_, kFirstElement, small, &count, 2, 0, -1.0, -1.0, -1.0, 0), 1);
    EXPECT_NE(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(small, (std::vector<int32_t>{0, 0, 10, 0, 20, 0}));
}

TEST_F(ComplexChain, UnreadableComponentEndsTheProgramWith97) {
    open("dimension 2\nchain {\nline : 0 0 10 0\nline : 10 0 20 0\n}\n");
    read_header();
    header_[21] = 3;  // one component more than the file holds
    EXPECT_EXIT(
        {
            int16_t count = 0;
            type12toVerts(header_, kFirstElement, out_, &count, 2, 0, -1.0, -1.0, -1.0, 0);
        },
        ::testing::ExitedWithCode(97), "");
}

}  // namespace
}  // namespace vornel::toolkit
