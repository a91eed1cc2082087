// elm_label against a real dgnhost: label positions, angles, segment
// choice, duplicates and point labels, checked with dgntool dump.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/label/elm_label.h"
#include "toolkit/tests/case_name.h"
#include "toolkit/tests/design_fixture.h"

namespace vornel::toolkit {
namespace {

constexpr int16_t kLabelLevel = 20;
constexpr int16_t kCentreJustification = 7;  // height factor 1, length factor 0

// One placed label: origin and rotation as dgntool dumps them.
struct Label {
    std::string origin;
    double rotation;
};

class LabelPlacement : public DesignFixture {
protected:
    void SetUp() override {
        DesignFixture::SetUp();
        open("dimension 2\n");
    }
    // Labels `text` along `chain`; the character height is 12 (first size),
    // the width 10 (second).
    int16_t label(const std::vector<int32_t>& chain, int32_t interval, const char* text = "ABCDE",
                  int32_t min_length = 0, int16_t element_type = 4, double angle_offset = 0.0, int16_t count = -1) {
        parameters_.width = 12;
        parameters_.height = 10;
        parameters_.justification = justification_;
        const int16_t n = count >= 0 ? count : static_cast<int16_t>(chain.size() / 2);
        return elm_label(text, chain, n, 2, min_length, interval, &parameters_, &symbology_, kLabelLevel, mode_,
                         label_type_, angle_offset, offset_.data(), links_, 0, 0.0, element_type);
    }
    std::vector<Label> placed() {
        std::vector<Label> labels;
        for (const auto& e : close_and_dump()) {
            EXPECT_EQ(e.at("type"), "17");
            labels.push_back({e.at("origin"), std::atof(e.at("rotation").c_str())});
        }
        return labels;
    }
    std::vector<std::string> origins() {
        std::vector<std::string> out;
        for (const auto& l : placed()) out.push_back(l.origin);
        return out;
    }

    TextParameters parameters_{};
    TextSymbology symbology_{{0, 0, 1, 4}, 0, 0};
    int16_t mode_[2] = {1, 0};
    int16_t justification_ = kCentreJustification;
    int32_t label_type_ = 0;
    std::array<int32_t, 2> offset_{0, 0};
    std::array<int16_t, 6> links_{1, -1, 0x0000, 12, 345, 0};
};

TEST_F(LabelPlacement, OneLabelPerIntervalCentredInItsShare) {
    // 1,000 UOR, interval 400: three labels at 166.7, 500 and 833.3, lifted
    // by the character height.
    EXPECT_EQ(label({0, 0, 1000, 0}, 400), 3);
    EXPECT_EQ(parameters_.character_count, 5);
    EXPECT_EQ(mode_[0], 2);  // no graphic group: placement mode 2
    const auto labels = placed();
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0].origin, "166,12");
    EXPECT_EQ(labels[1].origin, "500,12");
    EXPECT_EQ(labels[2].origin, "833,12");
    EXPECT_EQ(labels[0].rotation, 0.0);
}

TEST_F(LabelPlacement, IntervalZeroGivesOneLabelInTheMiddle) {
    EXPECT_EQ(label({0, 0, 600, 0, 1000, 0}, 0), 1);
    EXPECT_EQ(origins(), (std::vector<std::string>{"500,12"}));
}

TEST_F(LabelPlacement, ChainBelowTheMinimumLengthGetsNone) {
    EXPECT_EQ(label({0, 0, 100, 0}, 0, "ABCDE", 101), 1);
    EXPECT_TRUE(placed().empty());
}

struct SegmentCase {
    const char* what;
    std::vector<int32_t> chain;
    std::string origin;
    double rotation;
};

class LabelSegments : public LabelPlacement, public ::testing::WithParamInterface<SegmentCase> {};

// A label of 5 characters of width 10 (length 50) needs a segment of 66.65.
TEST_P(LabelSegments, LabelSitsWhereItFits) {
    const auto& c = GetParam();
    EXPECT_EQ(label(c.chain, 0), 1);
    const auto labels = placed();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].origin, c.origin);
    // The host keeps rotations as a matrix: 359.026 reads back as -0.974.
    EXPECT_NEAR(std::remainder(labels[0].rotation - c.rotation, 360.0), 0.0, 0.001);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, LabelSegments,
    ::testing::Values(
        // 60 UOR is too short: the nearer long neighbour (forward) takes it,
        // 1.5 label lengths from its start, turned upright.
        SegmentCase{"short_segment_uses_a_neighbour", {0, 0, 0, 470, 60, 470, 60, 940}, "72,545", 90.0},
        // 120 < 3 x 50: centred on the segment.
        SegmentCase{"segment_below_three_lengths_is_split", {0, 0, 120, 0}, "60,12", 0.0},
        // u = 20 on a 500 UOR segment moves to 1.5 x 50 = 75.
        SegmentCase{"label_kept_off_the_segment_start", {0, 0, 460, 0, 960, 0}, "535,12", 0.0},
        // Right to left at about 179 degrees reads left to right.
        SegmentCase{"right_to_left_segment_turned", {1000, 0, 0, 17}, "500,19", 359.026},
        // Exactly 180 degrees gives 360, which stays 360.
        SegmentCase{"half_turn_stays_360", {1000, 0, 0, 0}, "500,12", 360.0}),
    CaseName{});

TEST_F(LabelPlacement, RunOfShortSegmentsIsSearchedAsOneWeededStretch) {
    // 20 steps of 10 UOR, two labels: no single step holds the label, so
    // each lands on the straight stretch its search covered.
    std::vector<int32_t> steps;
    for (int i = 0; i <= 20; ++i) steps.insert(steps.end(), {i * 10, 0});
    EXPECT_EQ(label(steps, 150), 2);
    EXPECT_EQ(origins(), (std::vector<std::string>{"75,12", "125,12"}));
}

TEST_F(LabelPlacement, FlipToleranceTurnsNearlyVerticalLabelsToTheOtherSide) {
    // A segment at about 95 degrees reads at 275; within 10 degrees of 270
    // the label turns back and moves to the other side of the line.
    const std::vector<int32_t> chain{0, 0, -87, 996};
    parameters_ = {12, 10, 0, 0, kCentreJustification, 0};
    EXPECT_EQ(elm_label("ABCDE", chain, 2, 2, 0, 0, &parameters_, &symbology_, kLabelLevel, mode_, 0, 0.0,
                        offset_.data(), links_, 0, 10.0, 4),
              1);
    EXPECT_EQ(elm_label("ABCDE", chain, 2, 2, 0, 0, &parameters_, &symbology_, kLabelLevel, mode_, 0, 0.0,
                        offset_.data(), links_, 0, 0.0, 4),
              1);
    const auto labels = placed();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_NEAR(std::remainder(labels[0].rotation - 95.0, 360.0), 0.0, 0.01);
    EXPECT_NEAR(std::remainder(labels[1].rotation - 275.0, 360.0), 0.0, 0.01);
    EXPECT_NE(labels[0].origin, labels[1].origin);
}

TEST_F(LabelPlacement, LabelsLandingOnOneOriginArePlacedOnce) {
    // Every label of a 100 UOR segment is centred on it.
    EXPECT_EQ(label({0, 0, 100, 0}, 30), 4);
    EXPECT_EQ(origins(), (std::vector<std::string>{"50,12"}));
}

TEST_F(LabelPlacement, LabelAtTheDesignOriginIsPlaced) {
    offset_ = {-500, -12};
    EXPECT_EQ(label({0, 0, 1000, 0}, 0), 1);
    EXPECT_EQ(origins(), (std::vector<std::string>{"0,0"}));
}

struct PointCase {
    const char* what;
    int16_t element_type;
    std::string origin;
    double rotation;
};

class PointLabels : public LabelPlacement, public ::testing::WithParamInterface<PointCase> {};

TEST_P(PointLabels, OnePointGetsOneLabel) {
    const auto& c = GetParam();
    offset_ = {3, 4};
    EXPECT_EQ(label({5, 5, 5, 5}, 400, "AB", 0, c.element_type, 30.0), 1);
    const auto labels = placed();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].origin, c.origin);
    EXPECT_NEAR(labels[0].rotation, c.rotation, 0.001);
}

INSTANTIATE_TEST_SUITE_P(
    Points, PointLabels,
    ::testing::Values(
        // Offset, half the label length (2 x 0.5 x 10) and the height (12).
        PointCase{"feature_point", 3, "18,21", 0.0},
        PointCase{"text_element_at_the_point", 17, "5,5", 30.0},
        PointCase{"negative_type_at_the_point", -1, "5,5", 30.0}),
    CaseName{});

TEST_F(LabelPlacement, LinkagesFollowTheLabelType) {
    label({0, 0, 1000, 0}, 0);
    label_type_ = kLabelNoLinkages;
    label({0, 0, 1000, 0}, 0, "X");
    const auto written = close_and_dump();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].at("links"), "db:12/345");
    EXPECT_EQ(written[1].at("links"), "-");
    EXPECT_EQ(links_[2], 0);  // the caller's buffer is not changed
}

TEST_F(LabelPlacement, BadChainsPlaceNothingAndNeverReadOutside) {
    // Three-dimensional data is refused with its message.
    ::testing::internal::CaptureStdout();
    const std::vector<int32_t> chain{0, 0, 1000, 0};
    EXPECT_EQ(elm_label("A", chain, 2, 3, 0, 0, &parameters_, &symbology_, kLabelLevel, mode_, 0, 0.0,
                        offset_.data(), links_, 0, 0.0, 4),
              0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\nNo Label placed - 2D option in 3D file");
    // A count beyond the array is cut to the array: one label in the middle.
    EXPECT_EQ(label(chain, 0, "A", 0, 4, 0.0, 50), 1);
    // A chain of coincident vertices has length 0: one label on it.
    EXPECT_EQ(label({7, 7, 7, 7, 7, 7}, 0, "A"), 1);
    const auto written = origins();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], "500,12");
}

// elm_label3d on a three-dimensional file: the texts are 3-D texts turned
// about z, at the elevation of the line under them.
class Label3d : public DesignFixture {
protected:
    void SetUp() override {
        DesignFixture::SetUp();
        open("dimension 3\n");
    }
    int16_t label(const std::vector<int32_t>& chain, int32_t interval, const char* text = "ABCDE",
                  double angle_offset = 0.0, int32_t min_length = 0) {
        parameters_ = {12, 10, 0, 0, kCentreJustification, 0};
        return elm_label3d(text, chain, static_cast<int16_t>(chain.size() / 3), 3, min_length, interval, &parameters_,
                           &symbology_, kLabelLevel, mode_, 0, angle_offset, offset_.data(), links_, 0, 0.0);
    }

    TextParameters parameters_{};
    TextSymbology symbology_{{0, 0, 1, 4}, 0, 0};
    int16_t mode_[2] = {1, 77};
    std::array<int32_t, 2> offset_{0, 0};
    std::array<int16_t, 6> links_{1, -1, 0x0000, 12, 345, 0};
};

struct Label3dCase {
    const char* what;
    std::vector<int32_t> chain;
    int32_t interval;
    double angle_offset;
    int16_t planned;
    std::vector<std::string> origins;
    double rotation;
};

class Label3dCases : public Label3d, public ::testing::WithParamInterface<Label3dCase> {};

TEST_P(Label3dCases, TextsSitOnTheLineTurnedAboutZ) {
    const auto& c = GetParam();
    EXPECT_EQ(label(c.chain, c.interval, "ABCDE", c.angle_offset), c.planned);
    EXPECT_EQ(mode_[0], 2);  // the 3-D routine always places without a group
    EXPECT_EQ(mode_[1], 0);
    std::vector<std::string> origins;
    for (const auto& e : close_and_dump()) {
        EXPECT_EQ(e.at("type"), "17");
        EXPECT_EQ(e.at("level"), "20");
        EXPECT_EQ(e.at("gg"), "0");
        EXPECT_EQ(e.at("size"), "12,10");
        EXPECT_EQ(e.at("links"), "db:12/345");
        EXPECT_NEAR(std::remainder(std::atof(e.at("rotation").c_str()) - c.rotation, 360.0), 0.0, 0.001);
        origins.push_back(e.at("origin"));
    }
    EXPECT_EQ(origins, c.origins);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, Label3dCases,
    ::testing::Values(
        // Spaced by the length in plan: 1,000 UOR, interval 400, three labels.
        Label3dCase{"level_chain_spaced_in_plan", {0, 0, 50, 1000, 0, 50}, 400, 0.0, 3,
                    {"166,12,50", "500,12,50", "833,12,50"}, 0.0},
        // A rising line: the label takes the elevation under it (500 of the
        // 1004.99 UOR slope length rises 49.75).
        Label3dCase{"rising_line_lifts_the_label", {0, 0, 0, 1000, 0, 100}, 0, 0.0, 1, {"500,12,49"}, 0.0},
        // Turned to its segment in plan, never upside down.
        Label3dCase{"vertical_in_plan", {0, 0, 0, 0, 1000, 0}, 0, 0.0, 1, {"12,500,0"}, 90.0},
        // Too short a segment (60 < 1.333 x 50): the nearer long neighbour.
        Label3dCase{"short_segment_uses_a_neighbour", {0, 0, 0, 0, 470, 0, 60, 470, 0, 60, 940, 0}, 0, 0.0, 1,
                    {"72,545,0"}, 90.0},
        Label3dCase{"right_to_left_reads_left_to_right", {1000, 0, 7, 0, 0, 7}, 0, 0.0, 1, {"500,12,7"}, 360.0},
        // One vertex: beside the point (half the length, the height), turned
        // by the angle offset.
        Label3dCase{"point_label", {5, 5, 9}, 0, 30.0, 1, {"30,17,9"}, 30.0}),
    CaseName{});

TEST_F(Label3d, ShortChainAndWrongFileGetNone) {
    EXPECT_EQ(label({0, 0, 0, 100, 0, 0}, 0, "ABCDE", 0.0, 101), 1);
    ::testing::internal::CaptureStdout();
    const std::vector<int32_t> chain{0, 0, 0, 1000, 0, 0};
    EXPECT_EQ(elm_label3d("A", chain, 2, 2, 0, 0, &parameters_, &symbology_, kLabelLevel, mode_, 0, 0.0,
                          offset_.data(), links_, 0, 0.0),
              0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\nNo Label placed - used 3D label routine with a 2D file");
    EXPECT_TRUE(close_and_dump().empty());
}

TEST_F(LabelPlacement, ThreeDimensionalRoutineRefusesATwoDimensionalFile) {
    // The dimension says 3 but the file is 2-D: the host's refusal (918) is
    // reported and nothing is placed.
    TextParameters parameters{12, 10, 0, 0, kCentreJustification, 0};
    const std::vector<int32_t> chain{0, 0, 0, 1000, 0, 0};
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(elm_label3d("A", chain, 2, 3, 0, 0, &parameters, &symbology_, kLabelLevel, mode_, 0, 0.0,
                          offset_.data(), links_, 0, 0.0),
              0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(placed().empty());
}

}  // namespace
}  // namespace vornel::toolkit
