// The point table's pure parts: loading, node forming, and the bisections
// that find an element's far end and a point; the unit conversion of the
// run set-up and the column lookup.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>

#include "joiner/run/point_table.h"
#include "joiner/run/run_setup.h"
#include "testsupport/run_program.h"

namespace {

using namespace vornel::joiner;

struct Rec {
  std::int32_t x, y, offset;
};

// A 2-D table of the records in the order given (they must be sorted).
PointTable table_of(std::initializer_list<Rec> records, int dimen = 2) {
  PointTable table;
  table.allocate(dimen, static_cast<std::int32_t>(records.size()), false);
  for (const Rec& r : records) table.push(r.x, r.y, 7, r.offset);
  return table;
}

TEST(PointTable, NodesAreRunsOfEqualPointsCountingSupplementaryRecords) {
  const PointTable table = table_of({{0, 0, 100}, {5, 0, -1}, {5, 0, 100}, {5, 0, 200}, {9, 3, 200}});
  const Node first = form_node(table, 0);
  EXPECT_EQ(first.size, 1);
  EXPECT_EQ(first.supplementary, 0);
  const Node second = form_node(table, 1);
  EXPECT_EQ(second.size, 3);
  EXPECT_EQ(second.supplementary, 1);
  EXPECT_EQ(node_bounds(table, 2), std::make_pair(1, 3));
  EXPECT_EQ(node_bounds(table, 4), std::make_pair(4, 4));
}

TEST(PointTable, FindEndRecordBisectsOnPlaceAndPositionMagnitude) {
  // Consumed records keep their magnitude and are still found.
  const PointTable table = table_of({{0, 0, 100},
                                     {7, 0, -300},
                                     {7, 0, 400},
                                     {7, 0, -500},
                                     {7, 0, 600},
                                     {1, 2, 100},
                                     {3, 2, 300},
                                     {3, 9, 600}});
  struct Case {
    std::array<std::int32_t, 2> point;
    std::int32_t position;
    std::int32_t index;
  };
  const Case cases[] = {
      {{0, 0}, 100, 0}, {{7, 0}, 300, 1}, {{7, 0}, 500, 3}, {{7, 0}, 600, 4}, {{1, 2}, 100, 5},
      {{3, 9}, 600, 7}, {{7, 0}, 450, -1}, {{8, 0}, 400, -1}, {{3, 2}, 100, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(find_end_record(table, c.point.data(), c.position), c.index);
    EXPECT_EQ(find_end_record(table, c.point.data(), -c.position), c.index);
  }
  EXPECT_EQ(find_point_record(table, 3, 9), 7);
  EXPECT_EQ(find_point_record(table, 4, 9), -1);
}

TEST(PointTable, FindEndRecordInALargeTable) {
  PointTable table;
  const std::int32_t n = 1 << 20;
  table.allocate(2, n, false);
  for (std::int32_t i = 0; i < n; ++i) table.push(i % 1000, i / 1000, 0, 512 + i);
  for (std::int32_t i : {0, 1, 999, 1000, 523456, n - 1}) {
    const std::int32_t p[2] = {i % 1000, i / 1000};
    EXPECT_EQ(find_end_record(table, p, 512 + i), i);
  }
}

TEST(PointTable, LoadsXBeforeYCountsEditableAndReportsProgress) {
  vornel::testing::TempDir dir;
  std::string text;
  for (int i = 0; i < 2500; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%12d %12d %8d\n", 2 * i, i, i == 3 ? -1 : 600 + i);
    text += line;
  }
  vornel::testing::write_file(dir / "sorted.1", text);
  PointTable table;
  table.allocate(2, 2500, false);
  std::ostringstream out;
  std::int64_t failed = 0;
  ASSERT_EQ(table.load((dir / "sorted.1").string(), out, failed), PointTable::LoadResult::loaded);
  EXPECT_EQ(table.count(), 2500);
  EXPECT_EQ(table.editable(), 2499);
  EXPECT_EQ(table.point(4)[0], 4);
  EXPECT_EQ(table.point(4)[1], 8);
  EXPECT_EQ(out.str(), "\nOpening " + (dir / "sorted.1").string() +
                           "\n\nInput   1000 point records\nInput   2000 point records"
                           "\nTotal number of point records input = 2500\n");

  PointTable longer;
  longer.allocate(2, 2501, false);
  EXPECT_EQ(longer.load((dir / "sorted.1").string(), out, failed), PointTable::LoadResult::too_short);
  EXPECT_EQ(failed, 2500);
  EXPECT_EQ(longer.load((dir / "missing").string(), out, failed), PointTable::LoadResult::cannot_open);
}

TEST(RunSetup, SizesConvertToUors) {
  RunConfig cfg;
  cfg.dangle_size = 0.5;
  cfg.over_size = 2;
  cfg.over_dist = 0.0001;
  cfg.label_opt = 1;
  cfg.labSize = 1.25;
  cfg.dup_flag_size = 2;
  std::ostringstream out;

  SetupValues v;
  v.uor_fact = 10000;
  convert_sizes(cfg, v, out);
  EXPECT_EQ(v.dangle_axes, (Axes{5000, 5000}));
  EXPECT_DOUBLE_EQ(cfg.dangle_size, 5000);
  EXPECT_EQ(v.dup_flag_axes, (Axes{20000, 24000}));

  RunConfig second;
  second.over_size = 2;
  second.over_dist = 0.0001;
  SetupValues w;
  w.uor_fact = 1000;
  convert_sizes(second, w, out);
  EXPECT_EQ(w.over_axes, (Axes{2000, 3000}));
  EXPECT_EQ(w.over_size_uor, 2000);
  EXPECT_EQ(w.over_dist_uor, 1);

  RunConfig third;
  third.label_opt = 1;
  third.labSize = 1.25;
  SetupValues x;
  x.uor_fact = 10;
  convert_sizes(third, x, out);
  EXPECT_EQ(x.lab_text_size, (std::array<std::int32_t, 2>{13, 13}));
  EXPECT_EQ(x.flag_sym_over.style, 2);
  EXPECT_EQ(x.flag_sym_over.color, 5);
}

TEST(RunSetup, ColumnsMatchByLeadingCharacters) {
  std::array<char, 20 * 4> names{};
  const char* columns[] = {"mslink", "Xcoord", "X", "dxf_angle2"};
  for (int i = 0; i < 4; ++i) std::snprintf(names.data() + 20 * i, 20, "%s", columns[i]);
  EXPECT_EQ(find_column(names.data(), 20, 4, "X", false), 2);
  EXPECT_EQ(find_column(names.data(), 20, 4, "ms", false), 1);
  EXPECT_EQ(find_column(names.data(), 20, 4, "dxf_angle", true), 0);
  EXPECT_EQ(find_column(names.data(), 20, 4, "dxf_angle", false), 4);
  EXPECT_EQ(find_column(names.data(), 20, 4, "Y", false), 0);
}

}  // namespace
