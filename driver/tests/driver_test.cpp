// The run driver end to end: "perl -S vornel.pl" with the build's bin folder
// on PATH, real tools, real dgnhost processes, design files made by dgntool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "testsupport/run_program.h"

namespace {

using vornel::testing::ProgramResult;
using vornel::testing::read_file;
using vornel::testing::run_program;
using vornel::testing::TempDir;
using vornel::testing::write_file;

const char* const kDesign = R"(units 10 1000 m cm
line level=10 link=77/9 : 0 0 100 0
line level=10 : 100 0 200 50
linestring level=11 : 200 50 300 50 300 100
line level=12 : 5 5 6 6
)";

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    write_file(dir_ / "d.txt", kDesign);
    ASSERT_EQ(run_program("dgntool", {"make", "d.txt", "d.dgn"}, dir_.path()).exit_status, 0);
  }

  ProgramResult drive(const std::vector<std::string>& options) {
    std::vector<std::string> args = {"-S", "vornel.pl"};
    args.insert(args.end(), options.begin(), options.end());
    const char* path = std::getenv("PATH");
    return run_program("/usr/bin/perl", args, dir_.path(),
                       {{"PATH", std::string(VORNEL_BIN_DIR) + ":" + (path ? path : "")}});
  }

  // Run files of every run identifier left in the folder.
  std::vector<std::string> run_files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      for (const char* prefix : {"startstp.", "sorted.", "dimen."}) {
        if (name.rfind(prefix, 0) == 0) names.push_back(name);
      }
    }
    return names;
  }

  std::string kept(const char* prefix) const {
    for (const std::string& name : run_files()) {
      if (name.rfind(prefix, 0) == 0) return read_file(dir_ / name);
    }
    return {};
  }

  // The design file's default database, made by dgndb from a description.
  void make_database(const std::string& description) {
    write_file(dir_ / "d_db.txt", description);
    const ProgramResult made = run_program("dgndb", {"make", "d_db.txt", "d.db"}, dir_.path());
    ASSERT_EQ(made.exit_status, 0) << made.output;
  }

  TempDir dir_;
};

TEST_F(Driver, RunsExtractorSorterAndJoinerAndRemovesTheRunFiles) {
  const ProgramResult result = drive({"-F", "d.dgn", "-ll", "10-11", "-D", "12,2"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  const auto extract = result.output.find("RUNNING QBT_pellax");
  const auto sort = result.output.find("\nSorvik sorting from startstp.");
  const auto join = result.output.find("RUNNING QBT_vornel");
  ASSERT_NE(extract, std::string::npos) << result.output;
  ASSERT_NE(sort, std::string::npos) << result.output;
  ASSERT_NE(join, std::string::npos) << result.output;
  EXPECT_LT(extract, sort);
  EXPECT_LT(sort, join);
  // The two level-10 lines meet end to end: the joiner makes one of them.
  EXPECT_NE(result.output.find("Converted 3 segments into 2 line strings/lines"),
            std::string::npos)
      << result.output;
  EXPECT_TRUE(run_files().empty());
  // The default database beside the design file, with an empty catalog.
  EXPECT_TRUE(std::filesystem::exists(dir_ / "d.db"));
}

TEST_F(Driver, KeepsSortedRunFilesWithK) {
  const ProgramResult result = drive({"-F", "d.dgn", "-ll", "10-11", "-k"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_EQ(run_files().size(), 3u);
  EXPECT_EQ(kept("sorted."),
            "          00           00     1536\n"
            "          00          100     1536\n"
            "          00          100     1596\n"
            "          50          200     1596\n"
            "          50          200     1648\n"
            "         100          300     1648\n");
  EXPECT_NE(kept("dimen.").find("set QBT_maxverts=6"), std::string::npos);
}

TEST_F(Driver, RunsAListFileThroughQuilletAndA3dFileThroughPellax) {
  write_file(dir_ / "l.txt", "file 1 d.dgn\nelement 1 3 0\nelement 1 3 60\nend\n");
  ASSERT_EQ(run_program("dgntool", {"make-list", "l.txt", "l.ulf"}, dir_.path()).exit_status, 0);
  ProgramResult result = drive({"-U", "l.ulf", "-W", "0.5,0,0", "-k"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_NE(result.output.find("RUNNING QBT_quillet"), std::string::npos);
  EXPECT_NE(kept("dimen.").find("set QBT_dgnname=d.dgn"), std::string::npos);

  write_file(dir_ / "s.txt", "dimension 3\nline level=1 : 0 0 0 5 5 5\nline level=1 : 5 5 5 9 9 9\n");
  ASSERT_EQ(run_program("dgntool", {"make", "s.txt", "s.dgn"}, dir_.path()).exit_status, 0);
  result = drive({"-F", "s.dgn"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
}

TEST_F(Driver, NodeOptionsTakeTheEntityNumberFromTheCatalog) {
  make_database("table nodes 77 40\ncolumn node_id text\ncolumn cnt integer\n"
                "column x real\ncolumn y real\n");
  const ProgramResult result =
      drive({"-F", "d.dgn", "-ll", "10", "-PN", "5,nodes,node_id,cnt,x,y", "-k"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  // Node-link records: the mslink of the linkage to entity 77.
  EXPECT_EQ(kept("startstp."),
            "          00           00     1536            9\n"
            "          00          100     1536            9\n"
            "          00          100     1596            0\n"
            "          50          200     1596            0\n");
}

struct FailureCase {
  const char* name;
  std::vector<std::string> options;
  int status;
  const char* message;
  bool sorter_ran;
};

TEST_F(Driver, StopsAtTheFirstToolThatFailsWithItsStatus) {
  const FailureCase cases[] = {
      {"extractor", {"-F", "d.dgn", "-v", "0"}, 97, "pellax failed with status 97", false},
      {"extractor's negative status", {"-F", "d.dgn", "stray"}, -999 & 255,
       "pellax failed with status 25", false},
      {"joiner", {"-F", "d.dgn", "-L", "99"}, 2, "vornel failed with status 2", true},
      {"table not in the catalog", {"-F", "d.dgn", "-PN", "5,nodes"}, 1,
       "table nodes is not in the catalog of d.db", false},
      {"named database missing", {"-F", "d.dgn", "-DB", "none.db", "-NV", "x,height"}, 1,
       "database none.db not found", false},
      {"no design or list file", {"-ll", "10"}, 1, "name a design file with -F", false},
  };
  for (const FailureCase& c : cases) {
    const ProgramResult result = drive(c.options);
    EXPECT_EQ(result.exit_status, c.status) << c.name << "\n" << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.name << "\n" << result.output;
    // A failed run keeps its files for a look; no later tool ran.
    EXPECT_EQ(!kept("sorted.").empty(), c.sorter_ran) << c.name;
    for (const std::string& name : run_files()) std::filesystem::remove(dir_ / name);
  }
}

}  // namespace
