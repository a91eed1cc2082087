// quillet on element list files made by dgntool: the records of each
// element kind, the variants, and the failures with their statuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extractors/testsupport/extractor_fixture.h"

namespace vornel::extract::testing {
namespace {

// Positions (block, byte): line 3/0, line string 3/52, text 3/114, cell
// 3/176, its component 3/268, ellipse 3/320, deleted line 3/392,
// B-spline curve 3/444 and its poles 3/490.
const char* const kDesign = R"(line level=5 color=7 : 0 0 10 10
linestring level=11 : 0 0 1000 0 1000 1000
text level=20 origin=100,100 size=2000,2000 : "A1"
cell name=C1 origin=50,60 {
  line level=1 : 0 0 1 1
}
ellipse level=3 origin=300,400 axes=50,50
line level=6 deleted : 1 1 2 2
bspline level=7 order=3 {
  poles : 0 0 5 5 10 0
  knots :
}
)";

const char* const kEveryKind = R"(file 1 q.dgn
element 1 3 0
element 1 3 52
element 1 3 114
element 1 3 176
element 1 3 268
element 1 3 320
end
)";

class Quillet : public ExtractorRun {
 protected:
  void SetUp() override {
    make_design("q.dgn", kDesign);
    make_list("every.ulf", kEveryKind);
  }
};

TEST_F(Quillet, WritesTheFirstAndLastPointOfEachListedElement) {
  const auto result = run("quillet", {"-U", "every.ulf"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  // The cell's component gives nothing; cell, text and ellipse one record.
  EXPECT_EQ(points(),
            "          00           00     1536\n"
            "          10           10     1536\n"
            "          00           00     1588\n"
            "        1000         1000     1588\n"
            "         100          100     1650\n"
            "          60           50     1712\n"
            "         400          300     1856\n");
  EXPECT_EQ(settings(),
            "set QBT_segdim=2\nset QBT_dgnname=q.dgn\nset QBT_maxverts=7\nset QBT_wt_opt=0\n");
  EXPECT_NE(result.output.find("\nRUNNING QBT_quillet (version 5.6) .....\n"), std::string::npos);
  EXPECT_NE(result.output.find("\n successfully opened q.dgn\n"), std::string::npos);
  EXPECT_NE(result.output.find("\n     3 elements identified\n\n"), std::string::npos);
}

struct VariantCase {
  const char* name;
  std::vector<std::string> options;
  Env env;
  std::string expected;
};

TEST_F(Quillet, WritesWeightedFlaggedAndCoordinateRecords) {
  make_list("two.ulf", "file 1 q.dgn\nelement 1 3 0\nelement 1 3 114\nend\n");
  const VariantCase cases[] = {
      {"type weights numbered by type: a line weighs 3 x 2",
       {"-wt", "0,2"},
       {},
       "          00           00     1536 1        6\n"
       "          10           10     1536 2        6\n"
       "         100          100     1650 0       34\n"},
      {"level and color weights, the last option's kind in force",
       {"-wl", "5,4", "-wo", "7,300"},
       {},
       "          00           00     1536 1      259\n"
       "          10           10     1536 2      259\n"
       "         100          100     1650 0        0\n"},
      {"flagged for ostrel",
       {},
       {{"QBT_proc", "ostrel"}},
       "          00           00     1536 1\n"
       "          10           10     1536 2\n"
       "         100          100     1650 0\n"},
      {"coordinates only: two lines per element",
       {"-O", "E"},
       {},
       "          00           00\n"
       "          10           10\n"
       "         100          100\n"
       "         100          100\n"},
      {"the joiner's options with values are stepped over",
       {"-W", "1,2,3", "-D", "12,2", "-M", "13,1", "-L", "10", "-V", "50", "-Z", "4", "-k",
        "-C", "-Shape", "-feature", "roads"},
       {},
       "          00           00     1536\n"
       "          10           10     1536\n"
       "         100          100     1650\n"},
  };
  for (const VariantCase& c : cases) {
    std::vector<std::string> args = {"-U", "two.ulf"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto result = run("quillet", args, c.env);
    ASSERT_EQ(result.exit_status, 0) << c.name << "\n" << result.output;
    EXPECT_EQ(points(), c.expected) << c.name;
  }
  EXPECT_NE(settings().find("\nset QBT_wt_opt=0\n"), std::string::npos);
}

TEST_F(Quillet, ThreeDimensionalCoordinatesOnly) {
  make_design("s.dgn", "dimension 3\nline level=1 : 0 0 -5 100 200 300\n"
                       "text level=2 origin=7,8,9 size=2000,2000 : \"Z\"\n");
  make_list("s.ulf", "file 1 s.dgn\nelement 1 3 0\nelement 1 3 60\nend\n");
  ASSERT_EQ(run("quillet", {"-U", "s.ulf", "-O", "E"}).exit_status, 0);
  EXPECT_EQ(points(),
            "          00           00          -05\n"
            "         200          100          300\n"
            "          08           07           09\n"
            "          08           07           09\n");
  EXPECT_EQ(settings().substr(0, 16), "set QBT_segdim=3");
}

TEST_F(Quillet, AnElementAfterTheBsplineComponentsIsProcessedNext) {
  make_list("curve.ulf", "file 1 q.dgn\nelement 1 3 444\nelement 1 3 490\nelement 1 3 0\nend\n");
  const auto result = run("quillet", {"-U", "curve.ulf"});
  ASSERT_EQ(result.exit_status, 0) << result.output;
  EXPECT_EQ(points(),
            "          00           00     1980\n"
            "          00           10     1980\n"
            "          00           00     1536\n"
            "          10           10     1536\n");
}

TEST_F(Quillet, ExpandsAComplexChainToItsEnds) {
  make_design("chain.dgn", "chain level=1 {\n  line level=1 : 0 0 5 5\n"
                           "  linestring level=1 : 5 5 9 0 12 3\n}\n");
  make_list("chain.ulf", "file 1 chain.dgn\nelement 1 3 0\nelement 1 3 40\nend\n");
  ASSERT_EQ(run("quillet", {"-U", "chain.ulf"}).exit_status, 0);
  // The listed component (3/40) gives nothing of its own.
  EXPECT_EQ(points(),
            "          00           00     1536\n"
            "          03           12     1536\n");
}

struct FailureCase {
  const char* name;
  std::vector<std::string> args;
  int status;  // as the shell sees it
  const char* message;
};

TEST_F(Quillet, FailuresGiveTheirMessageAndStatus) {
  make_list("empty.ulf", "end\n");
  make_list("deleted.ulf", "file 1 q.dgn\nelement 1 3 0\nelement 1 3 392\nend\n");
  make_list("absent.ulf", "file 1 absent.dgn\nelement 1 3 0\nend\n");
  const FailureCase cases[] = {
      {"argument without a dash", {"-U", "every.ulf", "stray"}, -999 & 255,
       "\n\nInvalid command argument 2 - stray\n\nquillet exiting abnormally\n\n"},
      {"node options", {"-U", "every.ulf", "-PN", "5,nodes"}, -99 & 255,
       "\n\nCreate/update nodes not supported with a ulf file - usw dgn input\n\n"},
      {"list file missing", {"-U", "missing.ulf"}, 1, "\n*** ulf file - missing.ulf - opening error "},
      {"no file specification", {"-U", "empty.ulf"}, 4, "RUNNING QBT_quillet"},
      {"design file missing", {"-U", "absent.ulf"}, 5, "\nError "},
      {"deleted element", {"-U", "deleted.ulf"}, 7,
       "\n\nDeleted element found in list file\nCheck input file for currency"},
  };
  for (const FailureCase& c : cases) {
    const auto result = run("quillet", c.args);
    EXPECT_EQ(result.exit_status, c.status) << c.name << "\n" << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.name << "\n" << result.output;
  }
}

}  // namespace
}  // namespace vornel::extract::testing
