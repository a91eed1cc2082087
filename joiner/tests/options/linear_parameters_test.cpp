// Linear parameters through whole runs of the driver: the slope, length,
// end coordinates and elevations of each written piece in its row.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "joiner/tests/chain_run_fixture.h"

namespace {

using namespace vornel::joiner::testing;

const char* const kParameters =
    "table lin 9\n"
    "column slope real\n"
    "column dist real\n"
    "column fx real\n"
    "column fy real\n"
    "column hz real\n"
    "column tx real\n"
    "column ty real\n"
    "column lz real\n"
    "row 1 null null null null null null null null\n";

// Columns in the order the -XY value names them.
std::string all_columns(int slope_opt, int dist_opt, int high_z_opt) {
  return "lin,slope," + std::to_string(slope_opt) + ",dist," + std::to_string(dist_opt) + ",fx,fy,hz," +
         std::to_string(high_z_opt) + ",tx,ty,lz";
}

class LinearParameters : public ChainRun {
 protected:
  ProgramResult run_with(const std::string& design, const std::vector<std::string>& options) {
    for (const char* name : {"d.db", "d.db-wal", "d.db-shm"}) std::filesystem::remove(dir_ / name);
    make_database(kParameters);
    return join(design, options);
  }
  std::string row() { return query("select slope, dist, fx, fy, hz, tx, ty, lz from lin;"); }
};

TEST_F(LinearParameters, EveryOptionAndColumnTakesItsValue) {
  // 3-D, 100 UOR a master unit, origin (1000,2000,300): the piece runs from
  // (0,0,0) over (3,4,2) to (6,8,1) in master units, 10 long in plan.
  const std::string spatial =
      "dimension 3\nunits 1 100\norigin 1000 2000 300\n"
      "linestring level=10 link=9/1 : 1000 2000 300 1300 2400 500 1600 2800 400\n";
  const std::string flat = "units 1 100\nline level=10 link=9/1 : 0 0 300 400\n";
  // Straight up and straight down: no plan length at all.
  const std::string up = "dimension 3\nunits 1 100\nline level=10 link=9/1 : 0 0 0 0 0 500\n";
  const std::string down = "dimension 3\nunits 1 100\nline level=10 link=9/1 : 0 0 500 0 0 0\n";
  struct Case {
    const char* name;
    std::string design;
    std::vector<std::string> options;
    const char* row;
  };
  const Case cases[] = {
      {"percent over the total rise, plan length, highest and lowest elevation", spatial,
       {"-XY", all_columns(1, 1, 1)}, "20.0|10.0|0.0|0.0|2.0|6.0|8.0|0.0\n"},
      {"percent over the end-to-end rise, slope length, end elevations", spatial, {"-XY", all_columns(2, 2, 0)},
       "10.0|10.48|0.0|0.0|0.0|6.0|8.0|1.0\n"},
      {"degrees of the total rise", spatial, {"-XY", all_columns(3, 1, 1)}, "11.31|10.0|0.0|0.0|2.0|6.0|8.0|0.0\n"},
      {"degrees of the end-to-end rise", spatial, {"-XY", all_columns(4, 2, 1)},
       "5.71|10.48|0.0|0.0|2.0|6.0|8.0|0.0\n"},
      {"a 2-D piece: slope 0 by percent", flat, {"-XY", all_columns(1, 2, 1)}, "0.0|5.0|0.0|0.0|0.0|3.0|4.0|0.0\n"},
      {"a 2-D piece: slope 0 by end-to-end percent", flat, {"-XY", all_columns(2, 1, 0)},
       "0.0|5.0|0.0|0.0|0.0|3.0|4.0|0.0\n"},
      {"a 2-D piece: slope 0 by degrees", flat, {"-XY", all_columns(3, 1, 1)}, "0.0|5.0|0.0|0.0|0.0|3.0|4.0|0.0\n"},
      {"a 2-D piece: slope 0 by end-to-end degrees", flat, {"-XY", all_columns(4, 1, 1)},
       "0.0|5.0|0.0|0.0|0.0|3.0|4.0|0.0\n"},
      {"a rising vertical piece is 90 degrees", up, {"-XY", all_columns(3, 2, 1)}, "90.0|5.0|0.0|0.0|5.0|0.0|0.0|0.0\n"},
      {"a falling vertical piece is -90 degrees end to end", down, {"-XY", all_columns(4, 1, 0)},
       "-90.0|0.0|0.0|0.0|5.0|0.0|0.0|0.0\n"},
      {"a vertical piece has no percentage", up, {"-XY", all_columns(1, 1, 1)}, "|0.0|0.0|0.0|5.0|0.0|0.0|0.0\n"},
      {"nor an end-to-end one", down, {"-XY", all_columns(2, 1, 1)}, "|0.0|0.0|0.0|5.0|0.0|0.0|0.0\n"},
      {"only the columns named are written", flat, {"-XY", "lin,slope,1,,1,fx,,,1,tx,,"}, "0.0||0.0|||3.0||\n"},
      {"coordinates follow the direction the chain is written in",
       "units 1 100\nline level=10 link=9/1 : 0 0 -300 -400\n", {"-f", "-XY", all_columns(1, 1, 1)},
       "0.0|5.0|-3.0|-4.0|0.0|0.0|0.0|0.0\n"},
      {"a chain that is not written still gets its parameters", flat, {"-J", "0", "-XY", all_columns(1, 1, 1)},
       "0.0|5.0|0.0|0.0|0.0|3.0|4.0|0.0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult run = run_with(c.design, c.options);
    ASSERT_EQ(run.exit_status, 0) << run.output;
    EXPECT_EQ(row(), c.row);
    EXPECT_EQ(run.output.find("No mslink"), std::string::npos) << run.output;
  }
}

TEST_F(LinearParameters, APieceWithoutItsRowIsReportedAndSkipped) {
  const ProgramResult run =
      run_with("units 1 100\nline level=10 link=8/1 : 0 0 300 400\n", {"-XY", all_columns(1, 1, 1)});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  EXPECT_NE(run.output.find("\n No mslink for graphic element"), std::string::npos) << run.output;
  EXPECT_EQ(row(), "|||||||\n");
  EXPECT_NE(run.output.find("\nWill load linear parameters to the database\n"), std::string::npos) << run.output;
}

}  // namespace
