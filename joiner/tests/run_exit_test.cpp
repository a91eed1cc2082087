// How vornel ends when the design file, the point list or the walk goes
// wrong: the message, the exit status, and that the file keeps its data.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "testsupport/run_program.h"

namespace {

using vornel::testing::ProgramResult;
using vornel::testing::run_program;
using vornel::testing::TempDir;
using vornel::testing::write_file;

// A point record line as the sorter writes it (2-D, plain).
std::string record(int y, int x, int position) {
  char line[64];
  std::snprintf(line, sizeof line, "%12d %12d %8d\n", y, x, position);
  return line;
}

// The positions dgntool gives the elements after the 1,536-byte header:
// a 2-D line takes 52 bytes.
constexpr int kFirst = 1536;
constexpr int kSecond = 1536 + 52;

struct Case {
  const char* name;
  const char* design;
  const char* dimension;       // QBT_segdim
  std::string sorted;          // "" leaves the point list out
  int maxverts;
  std::vector<std::string> options;
  int status;
  std::string message;
  std::vector<std::pair<std::string, std::string>> env = {};
  const char* database = nullptr;  // a dgndb description written as x.db
};

ProgramResult run_case(const TempDir& dir, const Case& c) {
  write_file(dir / "d.txt", c.design);
  EXPECT_EQ(run_program("dgntool", {"make", "d.txt", "d.dgn"}, dir.path()).exit_status, 0);
  if (!c.sorted.empty()) write_file(dir / "sorted.12345", c.sorted);
  if (c.database != nullptr) {
    write_file(dir / "db.txt", c.database);
    EXPECT_EQ(run_program("dgndb", {"make", "db.txt", "x.db"}, dir.path()).exit_status, 0);
  }
  std::vector<std::string> args = {"-F", "d.dgn"};
  args.insert(args.end(), c.options.begin(), c.options.end());
  std::vector<std::pair<std::string, std::string>> env = {{"QBT_segpid", "12345"},
                                                          {"QBT_segdim", c.dimension},
                                                          {"QBT_maxverts", std::to_string(c.maxverts)},
                                                          {"MS_EXE", VORNEL_BIN_DIR}};
  env.insert(env.end(), c.env.begin(), c.env.end());
  return run_program("vornel", args, dir.path(), env);
}

TEST(VornelExits, EachFailureHasItsMessageAndStatus) {
  const char* two_lines = "line level=10 : 0 0 1000 0\nline level=10 : 1000 0 2000 0\n";
  const std::string both = record(0, 0, kFirst) + record(0, 1000, kFirst) + record(0, 1000, kSecond) +
                           record(0, 2000, kSecond);
  const Case cases[] = {
      {"no point list", two_lines, "2", "", 4, {}, 13, "\nOpening sorted.12345\n\nerror opening sorted.12345"},
      {"a point list one record short", two_lines, "2", both, 5, {}, 14,
       "\nerror reading sorted.12345 at line 4"},
      {"a 2-D run on a 3-D file", "dimension 3\nline level=10 : 0 0 0 1000 0 0\n", "2", both, 4, {}, 10,
       "\nQBT_vornel exiting .....\nAttempt to process a design file (d.dgn)\n             of an inconsistent "
       "dimension\n"},
      {"weeding a 3-D file without -W3", "dimension 3\nline level=10 : 0 0 0 1000 0 0\n", "3", "", 4,
       {"-W", "1"}, 20, "Attempt to weed a 3d design file (d.dgn) with a 2d option and no override switch(-W3)"},
      {"a far end missing from the list", two_lines, "2", record(0, 0, kFirst), 1, {}, 16,
       "\nError finding end of segment location at offset[0] = -1536\nAbnormal Exit from QBT_vornel"},
      {"a database that cannot be selected", two_lines, "2", both, 4, {"-NV", "roads,kind"}, 88,
       "\nError 911 in DB-Define connecting to dbname=/nonexistent/x.db\n",
       {{"QBT_dbName", "/nonexistent/x.db"}, {"QBT_tabent", "17"}}},
      {"a table whose columns cannot be listed", two_lines, "2", both, 4, {"-NV", "roads,kind"}, 89,
       "\nError 974 in db_fldname\n", {{"QBT_dbName", "x.db"}, {"QBT_tabent", "18"}},
       "table roads 17\ncolumn kind text\n"},
      {"a record of a deleted element", "line level=10 deleted : 0 0 1000 0\n", "2",
       record(0, 0, kFirst) + record(0, 1000, kFirst), 2, {}, 22,
       "\nAbnormal Exit\n(1) read deleted element at 1536 - check currency of input data\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const ProgramResult run = run_case(dir, c);
    EXPECT_EQ(run.exit_status, c.status) << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
  }
}

TEST(VornelExits, AnErrorFinishKeepsWhatWasDoneAndPrintsThePartialSummary) {
  // The first chain is joined and written; the second start has no far end.
  const Case c{"", "line level=10 : 0 0 1000 0\nline level=10 : 1000 0 2000 0\nline level=11 : 0 5000 1 5000\n",
               "2",
               record(0, 0, kFirst) + record(0, 1000, kFirst) + record(0, 1000, kSecond) +
                   record(0, 2000, kSecond) + record(5000, 0, kSecond + 52),
               5, {}, 16, "\n  Converted 3 segments into 1 line strings/lines\n"};
  TempDir dir;
  const ProgramResult run = run_case(dir, c);
  EXPECT_EQ(run.exit_status, 16) << run.output;
  EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
  const ProgramResult dump = run_program("dgntool", {"dump", "d.dgn"}, dir.path());
  EXPECT_NE(dump.output.find("deleted=1 complex=0 words=28 gg=0 class=0 props=0 style=0 weight=0 color=0 "
                             "range=0,0,0,1000,0,0 vertices=0,0;1000,0"),
            std::string::npos)
      << dump.output;
  EXPECT_NE(dump.output.find("vertices=0,0;1000,0;2000,0"), std::string::npos) << dump.output;
}

}  // namespace
