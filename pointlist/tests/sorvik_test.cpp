// Runs the sorvik program on small point lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "testsupport/run_program.h"

namespace {

using vornel::testing::ProgramResult;
using vornel::testing::read_file;
using vornel::testing::run_program;
using vornel::testing::TempDir;
using vornel::testing::write_file;
using Env = std::vector<std::pair<std::string, std::string>>;

const Env k2d = {{"QBT_segdim", "2"}, {"QBT_proc", "vornel"}, {"QBT_wt_opt", "0"}};
const Env k3d = {{"QBT_segdim", "3"}, {"QBT_proc", "vornel"}, {"QBT_wt_opt", "0"}};

ProgramResult sort_text(const TempDir& dir, const std::string& input, const Env& env,
                        std::string& output) {
  write_file(dir / "startstp.1", input);
  ProgramResult result = run_program("sorvik", {"startstp.1", "sorted.1"}, dir.path(), env);
  output = read_file(dir / "sorted.1");
  return result;
}

struct SortCase {
  const char* name;
  const Env* env;
  std::string input;
  std::string expected;
};

TEST(Sorvik, SortsByNumericKeys) {
  const SortCase cases[] = {
      {"negative Y sorts before positive", &k2d,
       "          03           01       10\n"
       "         -05           01       20\n",
       "         -05           01       20\n"
       "          03           01       10\n"},
      {"equal Y and X order by position", &k2d,
       "          07           07      900\n"
       "          07           07       36\n"
       "          07           06      512\n",
       "          07           06      512\n"
       "          07           07       36\n"
       "          07           07      900\n"},
      {"3-D sorts by Z before position", &k3d,
       "          01           01           09       10\n"
       "          01           01           02       99\n",
       "          01           01           02       99\n"
       "          01           01           09       10\n"},
      {"trailing columns ride along untouched", &k2d,
       "          02           01       10 1        4\n"
       "          01           01       10 2        4\n",
       "          01           01       10 2        4\n"
       "          02           01       10 1        4\n"},
      {"a wide position is one key, not two", &k2d,
       "          01           01 123456789\n"
       "          01           01 23456790\n",
       "          01           01 23456790\n"
       "          01           01 123456789\n"},
      {"values beyond 32 bits still compare as numbers", &k2d,
       "          01  99999999999       10\n"
       "          01           05       10\n",
       "          01           05       10\n"
       "          01  99999999999       10\n"},
      {"coordinate-only lines sort by Y and X", &k2d,
       "          09           01\n"
       "          01           02\n",
       "          01           02\n"
       "          09           01\n"},
      {"a last line without a line feed gets one", &k2d,
       "          05           01       10\n"
       "          01           01       10",
       "          01           01       10\n"
       "          05           01       10\n"},
      {"empty input gives empty output", &k2d, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string output;
    const ProgramResult result = sort_text(dir, c.input, *c.env, output);
    EXPECT_EQ(result.exit_status, 0) << result.output;
    EXPECT_EQ(result.output, "\nSorvik sorting from startstp.1 to sorted.1\n");
    EXPECT_EQ(output, c.expected);
  }
}

TEST(Sorvik, LargeShuffledListComesOutInOrderWithNothingLost) {
  // More lines than QBT_maxverts announces, some longer than any record slot,
  // and enough of them that the list is sorted in two halves and merged: all
  // of them must come out, sorted, each byte for byte.
  std::mt19937 random(7);
  std::vector<std::string> lines;
  char buffer[128];
  for (int i = 0; i < 40000; ++i) {
    const int y = static_cast<int>(random() % 200) - 100;
    const int x = static_cast<int>(random() % 50);
    std::snprintf(buffer, sizeof buffer, "%12.2d %12.2d %8d%s\n", y, x, i * 4,
                  i % 97 == 0 ? "   and a long tail that is wider than any slot of the sorter"
                              : "");
    lines.push_back(buffer);
  }
  std::vector<std::string> shuffled = lines;
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  std::string input;
  for (const auto& l : shuffled) input += l;

  TempDir dir;
  std::string output;
  Env env = k2d;
  env.emplace_back("QBT_maxverts", "1000");
  const ProgramResult result = sort_text(dir, input, env, output);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_NE(result.output.find("holds 40000 records, more than QBT_maxverts=1000"),
            std::string::npos)
      << result.output;

  auto key = [](const std::string& line) {
    long y = 0, x = 0, p = 0;
    std::sscanf(line.c_str(), "%ld %ld %ld", &y, &x, &p);
    return std::tuple(y, x, p);
  };
  std::sort(lines.begin(), lines.end(),
            [&](const auto& a, const auto& b) { return key(a) < key(b); });
  std::string expected;
  for (const auto& l : lines) expected += l;
  EXPECT_EQ(output, expected);
}

TEST(Sorvik, FailuresGiveTheirMessagesAndStatuses) {
  TempDir dir;
  write_file(dir / "in", "          01           01       10\n");
  std::filesystem::create_directory(dir / "adir");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string message;
  } const cases[] = {
      {"no arguments", {}, 100, "\nUsage: sorvik <infile> <outfile>\n"},
      {"one argument", {"in"}, 100, "\nUsage: sorvik <infile> <outfile>\n"},
      {"three arguments", {"in", "out", "x"}, 100, "\nUsage: sorvik <infile> <outfile>\n"},
      {"missing input", {"nothing", "out"}, 99,
       "\nSorvik sorting from nothing to out\nError opening nothing"},
      {"output is a folder", {"in", "adir"}, 98, "\nSorvik sorting from in to adir\nError opening adir"},
      {"output device full", {"in", "/dev/full"}, 97,
       "\nSorvik sorting from in to /dev/full\nError writing to output file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult result = run_program("sorvik", c.args, dir.path(), k2d);
    EXPECT_EQ(result.exit_status, c.status);
    EXPECT_EQ(result.output, c.message);
  }
  // A failed sort removes its half-written output, but never a device.
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

TEST(Sorvik, LineWithoutAPointStopsAndLeavesNoOutput) {
  const std::string good = "          01           01       10\n";
  std::string large;
  for (int i = 0; i < 50000; ++i) large += i == 40000 ? "garbage\n" : good;
  const struct Case {
    const char* name;
    std::string input;
    const char* message;
  } cases[] = {
      {"blank line", good + "\n" + good, "startstp.1 line 2 holds no point record"},
      {"bad line late in a large list", large, "startstp.1 line 40001 holds no point record"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::string output;
    const ProgramResult result = sort_text(dir, c.input, k2d, output);
    EXPECT_EQ(result.exit_status, 96);
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
    EXPECT_FALSE(std::filesystem::exists(dir / "sorted.1"));
  }
}

}  // namespace
