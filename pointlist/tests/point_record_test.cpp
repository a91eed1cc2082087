#include "pointlist/point_record.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

namespace vornel::pointlist {
namespace {

std::string format(const RecordLayout& layout, const PointRecord& record) {
  std::array<char, kMaxRecordLength> line{};
  return std::string(line.data(), format_point_record(layout, record, line));
}

constexpr RecordLayout k2dPlain{2, RecordKind::plain};
constexpr RecordLayout k3dPlain{3, RecordKind::plain};
constexpr RecordLayout k2dNode{2, RecordKind::node_link};
constexpr RecordLayout k3dNode{3, RecordKind::node_link};
constexpr RecordLayout k2dFlagged{2, RecordKind::flagged};
constexpr RecordLayout k3dFlagged{3, RecordKind::flagged};
constexpr RecordLayout k2dWeighted{2, RecordKind::weighted};
constexpr RecordLayout k3dWeighted{3, RecordKind::weighted};
constexpr RecordLayout k2dCoords{2, RecordKind::coordinates_only};
constexpr RecordLayout k3dCoords{3, RecordKind::coordinates_only};

struct FormatCase {
  const char* name;
  RecordLayout layout;
  PointRecord record;
  const char* text;
};

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

const FormatCase kFormatCases[] = {
    {"zero has two digits", k2dPlain, {0, 0, 0, 0}, "          00           00        0\n"},
    {"small values pad to two digits", k2dPlain, {5, -5, 0, 1024},
     "          05          -05     1024\n"},
    {"widest values fill the column", k2dPlain, {kMin, kMax, 0, -1},
     " -2147483648   2147483647       -1\n"},
    {"3-D adds Z before the position", k3dPlain, {10, 20, -1, 512},
     "          10           20          -01      512\n"},
    {"node link after the position", k2dNode, {1, 2, 0, 36, PointFlag::single, 0, 77},
     "          01           02       36           77\n"},
    {"3-D node link", k3dNode, {1, 2, 3, 36, PointFlag::single, 0, 77},
     "          01           02           03       36           77\n"},
    {"flag of a first point", k2dFlagged, {1, 2, 0, 36, PointFlag::first},
     "          01           02       36 1\n"},
    {"flag of a point element", k2dFlagged, {1, 2, 0, 36, PointFlag::single},
     "          01           02       36 0\n"},
    {"last point is the literal 2", k3dFlagged, {1, 2, 3, 36, PointFlag::last},
     "          01           02           03       36 2\n"},
    {"interior vertex leaves the flag blank", k2dFlagged, {1, 2, 0, -1, PointFlag::interior},
     "          01           02       -1  \n"},
    {"weight after the flag", k2dWeighted, {1, 2, 0, 36, PointFlag::first, 9},
     "          01           02       36 1        9\n"},
    {"3-D weighted last point", k3dWeighted, {1, 2, 3, 36, PointFlag::last, 9},
     "          01           02           03       36 2        9\n"},
    {"weighted interior vertex", k2dWeighted, {1, 2, 0, -1, PointFlag::interior, 9},
     "          01           02       -1          9\n"},
    {"coordinates only", k2dCoords, {7, 8, 0, 36}, "          07           08\n"},
    {"3-D coordinates only", k3dCoords, {7, 8, 9, 36},
     "          07           08           09\n"},
};

TEST(PointRecordFormat, WritesEachVariantByteForByte) {
  for (const auto& c : kFormatCases) {
    SCOPED_TRACE(c.name);
    const std::string text = format(c.layout, c.record);
    EXPECT_EQ(text, c.text);
    if (c.record.flag != PointFlag::interior && c.record.y > kMin) {
      EXPECT_EQ(text.size(), record_length(c.layout));
    }
  }
}

TEST(PointRecordFormat, RecordLengthsMatchTheSorterSlots) {
  EXPECT_EQ(record_length(k2dPlain), 35u);
  EXPECT_EQ(record_length(k3dPlain), 48u);
  EXPECT_EQ(record_length(k2dNode), 48u);
  EXPECT_EQ(record_length(k3dNode), 61u);
  EXPECT_EQ(record_length(k2dFlagged), 37u);
  EXPECT_EQ(record_length(k3dFlagged), 50u);
  EXPECT_EQ(record_length(k2dWeighted), 46u);
  EXPECT_EQ(record_length(k3dWeighted), 59u);
  EXPECT_EQ(record_length(k2dCoords), 26u);
  EXPECT_EQ(record_length(k3dCoords), 39u);
}

TEST(PointRecordParse, ReadsBackWhatWasWritten) {
  for (const auto& c : kFormatCases) {
    SCOPED_TRACE(c.name);
    std::string line = format(c.layout, c.record);
    line.pop_back();
    PointRecord parsed;
    ASSERT_EQ(parse_point_record(c.layout, line, parsed), ParseError::none);
    PointRecord expected = c.record;
    if (c.layout.dimension == 2) expected.z = 0;
    if (c.layout.kind == RecordKind::coordinates_only) expected.position = 0;
    if (c.layout.kind != RecordKind::flagged && c.layout.kind != RecordKind::weighted)
      expected.flag = PointFlag::single;
    EXPECT_EQ(parsed, expected);
  }
}

TEST(PointRecordParse, PositionsWiderThanTheirColumnSurvive) {
  // " %8d" writes nine digits for positions of 100,000,000 and more; a reader
  // that cut at eight characters would split the position in two.
  const PointRecord big{3, 4, 0, 123456789, PointFlag::single, 0, 55};
  std::string line = format(k2dNode, big);
  line.pop_back();
  PointRecord parsed;
  ASSERT_EQ(parse_point_record(k2dNode, line, parsed), ParseError::none);
  EXPECT_EQ(parsed, big);
}

TEST(PointRecordParse, RejectsMalformedLines) {
  struct Case {
    RecordLayout layout;
    const char* line;
    ParseError error;
  } const cases[] = {
      {k2dPlain, "", ParseError::missing_field},
      {k2dPlain, "          01           02", ParseError::missing_field},
      {k3dPlain, "          01           02       36", ParseError::missing_field},
      {k2dPlain, "          01           0x       36", ParseError::bad_number},
      {k2dPlain, "          01           02       36 7", ParseError::trailing_text},
      {k2dPlain, "          01  99999999999       36", ParseError::out_of_range},
      {k2dFlagged, "          01           02       36 5", ParseError::out_of_range},
      {k2dNode, "          01           02       36", ParseError::missing_field},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    PointRecord untouched{9, 9, 9, 9};
    EXPECT_EQ(parse_point_record(c.layout, c.line, untouched), c.error);
    EXPECT_EQ(untouched, (PointRecord{9, 9, 9, 9}));
  }
}

}  // namespace
}  // namespace vornel::pointlist
