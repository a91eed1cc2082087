// Settings derived after the last option, and the checks of combinations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "joiner/tests/configure_helper.h"

namespace vornel::joiner {
namespace {

using testing::configure;
using testing::Env;
using testing::Outcome;
using testing::run_env;

using Args = std::vector<std::string>;

TEST(CombinationChecks, StopWithTheirMessageAndStatus) {
  struct Case {
    const char* name;
    Args args;
    Env env;
    int status;
    std::string message;
  };
  const std::vector<Case> cases{
      {"save without output level", {"-s"}, run_env(), -1,
       "\n \nImproper combination of flags:\nCannot output joined linework to original level "
       "(No [ -L outlevel ] option) AND\n save [ -s option ] the original data on the same level\n"},
      {"save with level code", {"-s", "-L", "F"}, run_env(), -1, "Cannot output joined linework"},
      {"ids both ways",
       {"-ID_N2L", "n,i,l,f,t", "-ID_L2N", "n,i,l,f,t"},
       run_env(),
       -2,
       "\n\n\aSorry - you can't have it both ways and load node ids to linear ids and visa versa "
       "during the same run"},
      {"direction and ids", {"-f", "-fFrToID", "l,f,t,A,1"}, run_env(), -1,
       "\nCannot perform multiple flip options (-f...) at same time\n\nvornel exiting"},
      {"elevation and values", {"-zd", "-fDbValue", "l,c,eq,1,0"}, run_env(), -1,
       "\nCannot perform multiple flip options"},
      {"slope breaks in 2-D", {"-B", "1,0,5,10,50"}, run_env({{"QBT_segdim", "2"}}), -1,
       "\n \nImproper combination of options:\nCannot break linework by slope in 2-d file"},
      {"overlapping intervals", {"-B", "1,0,10,1,1", "-B", "2,5,20,1,1"}, run_env(), 111,
       "\nInconsistent limits for intervals 1 and 0\nNext lower limit 5.00 is less than prior upper "
       "limit 10.00"},
      {"later intervals", {"-B", "1,0,10,1,1", "-B", "2,10,20,1,1", "-B", "3,15,30,1,1"}, run_env(),
       111,
       "\nInconsistent limits for intervals 2 and 1\nNext lower limit 15.00 is less than prior "
       "upper limit 20.00"},
      {"break tables without intervals", {"-BD", "cur"}, run_env({{"QBT_curbrktabent", "7"}}), 5,
       "\nInvalid use of -BD and -B options - no -B intervals specified\n"},
      {"complex parts deleted", {"-e", "12,14"}, run_env(), -1,
       "\n \nImproper combination of flags:\nCannot delete complex element parts (types 14)\n Must "
       "use -L flag to output to new level"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome outcome = configure(c.args, c.env);
    EXPECT_FALSE(outcome.cfg);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_NE(outcome.text.find(c.message), std::string::npos) << outcome.text;
    // Every check comes after the banner.
    EXPECT_NE(outcome.text.find("\nRUNNING QBT_vornel (version 5.6) .....\n"), std::string::npos);
  }
}

TEST(CombinationChecks, CombinationsThatPass) {
  const std::vector<Args> cases{
      {"-s", "-L", "5"},
      {"-s", "-NO"},
      {"-s", "-J", "5,1"},
      {"-e", "14", "-s", "-L", "5"},
      {"-f", "-fdangle"},
      {"-BD", "cur"},  // no break table entity: nothing to break into
  };
  for (const Args& args : cases) {
    const Outcome outcome = configure(args);
    EXPECT_TRUE(outcome.cfg) << args[0] << ": " << outcome.text;
  }
}

TEST(BreakIntervalChecks, OpenTopIntervalIsAppended) {
  const Outcome outcome = configure({"-B", "1,0,5,10,50"});
  ASSERT_TRUE(outcome.cfg) << outcome.text;
  const RunConfig& cfg = *outcome.cfg;
  EXPECT_EQ(cfg.brk_count, 2);
  EXPECT_EQ(cfg.brk_min_pct[2], 5.0F);
  EXPECT_EQ(cfg.brk_max_pct[2], 999999.0F);
  EXPECT_EQ(cfg.brk_limit[2], 20.0F);
  EXPECT_EQ(cfg.brk_min_len[2], 50.0);
  EXPECT_NE(outcome.text.find("\nBreak Lines Option Selected - 2 intervals input"), std::string::npos);

  EXPECT_EQ(configure({"-B", "1,0,10000,10,50"}).cfg->brk_count, 1);
}

TEST(BreakIntervalChecks, GivenInAnyOrderAndNeverBeyondTen) {
  const RunConfig cfg = *configure({"-B", "2,5,20,3,1", "-BC", "1,0,5,2,1", "-p"}).cfg;
  EXPECT_EQ(cfg.brk_count, 3);
  EXPECT_EQ(cfg.brk_min_pct[3], 20.0F);
  EXPECT_EQ(cfg.brk_limit[3], 6.0F);
  EXPECT_EQ(cfg.brk_color, 1);
  EXPECT_EQ(cfg.rainbow, 0);  // colour by interval wins over rainbow colours

  Args ten;
  for (int n = 1; n <= 10; ++n) {
    ten.insert(ten.end(), {"-B", std::to_string(n) + "," + std::to_string(n * 10) + "," +
                                     std::to_string(n * 10 + 10) + ",1,1"});
  }
  const Outcome full = configure(ten);
  ASSERT_TRUE(full.cfg) << full.text;
  EXPECT_EQ(full.cfg->brk_count, 10);
  EXPECT_EQ(full.cfg->brk_max_pct[10], 110.0F);
}

TEST(BreakIntervalChecks, ASkippedIntervalStopsTheRun) {
  const Outcome outcome = configure({"-B", "1,0,5,1,1", "-B", "3,10,20,1,1"});
  EXPECT_EQ(outcome.status, 111);
  EXPECT_NE(outcome.text.find("\nSlope break interval 2 was not specified"), std::string::npos);
}

TEST(BreakIntervalChecks, DiagnosticsListEveryInterval) {
  const Outcome outcome = configure({"-d", "-B", "1,0,5,10,50"});
  EXPECT_NE(outcome.text.find("\n [0] 0.00,5.00,10.00,50.00   2\n [1] 5.00,999999.00,20.00,50.00   2"),
            std::string::npos)
      << outcome.text;
}

TEST(DerivedOptionSettings, FlagsAndPasses) {
  struct Case {
    Args args;
    int first_pass;
    int over_flag;
  };
  for (const Case& c : {Case{{"-c"}, 2, 0}, Case{{"-D", "5,1"}, 1, 0}, Case{{"-fdangle"}, 1, 0},
                        Case{{"-O", "1"}, 1, 0}, Case{{"-OF", "1,5,1"}, 1, 1},
                        Case{{"-OF", "1,5,1", "-O", "2"}, 1, 0}}) {
    const RunConfig cfg = *configure(c.args).cfg;
    EXPECT_EQ(cfg.first_pass, c.first_pass) << c.args[0];
    EXPECT_EQ(cfg.over_flag, c.over_flag) << c.args[0];
  }
}

TEST(DerivedOptionSettings, JoinFlagsNeverWriteOrDelete) {
  // -delete after -J would delete; flagging joins wins.
  const Outcome outcome = configure({"-J", "5,1", "-delete"});
  ASSERT_TRUE(outcome.cfg);
  EXPECT_EQ(outcome.cfg->no_out_opt, 1);
  EXPECT_EQ(outcome.cfg->delete_orig, 0);
  EXPECT_NE(outcome.text.find("\n\aNO OUTPUT OPTION HAS BEEN SELECTED !\n"), std::string::npos);
  EXPECT_EQ(outcome.text.find("DELETE OPTION"), std::string::npos);
}

TEST(DerivedOptionSettings, AnnouncementsOfOutput) {
  EXPECT_NE(configure({"-delete"}).text.find("\n\aDELETE OPTION HAS BEEN SELECTED !\n"),
            std::string::npos);
  EXPECT_NE(configure({"-NO"}).text.find("\n\aNO OUTPUT OPTION HAS BEEN SELECTED !\n"),
            std::string::npos);
  EXPECT_NE(configure({"-XY", "lin,s,1"}).text.find("\nWill load linear parameters to the database\n"),
            std::string::npos);
}

TEST(DerivedOptionSettings, ComplexChainLimit) {
  EXPECT_EQ(configure({"-C"}).cfg->maxpts_c, 9999);
  EXPECT_EQ(configure({"-C", "-c"}).cfg->maxpts_c, 9603);
  EXPECT_NE(configure({"-d", "-C"}).text.find("\nMAXPTS=25000 maxpts_c=9999\n"), std::string::npos);
}

TEST(DerivedOptionSettings, AttributeMatchingFollowsAttributeKeeping) {
  struct Case {
    Args args;
    int ft_match;
    int all_match;
    int ft_ent;
  };
  const Env env = run_env({{"QBT_ft_entnum", "9"}});
  for (const Case& c : {Case{{"-NF"}, 1, 0, 9}, Case{{"-NF", "-NA"}, 0, 1, 0},
                        Case{{"-NF", "-NA", "-AS"}, 0, 0, 9}}) {
    const RunConfig cfg = *configure(c.args, env).cfg;
    EXPECT_EQ(cfg.attr_ft_match, c.ft_match) << c.args.size();
    EXPECT_EQ(cfg.attr_all_match, c.all_match) << c.args.size();
    EXPECT_EQ(cfg.attr_ft_ent, c.ft_ent) << c.args.size();
  }
}

}  // namespace
}  // namespace vornel::joiner
