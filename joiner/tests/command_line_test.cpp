// Reading the joiner's options: argument lists in, printed text, exit status
// and the fields that matter out.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "joiner/diag.h"
#include "joiner/tests/configure_helper.h"

namespace vornel::joiner {
namespace {

using testing::configure;
using testing::Env;
using testing::kUsage;
using testing::Outcome;
using testing::run_env;

using Args = std::vector<std::string>;

// Runs `args` and expects the run to go on.
RunConfig accepted(const Args& args, const Env& env = run_env()) {
  const Outcome outcome = configure(args, env);
  EXPECT_TRUE(outcome.cfg.has_value()) << "stopped with " << outcome.status << ":" << outcome.text;
  return outcome.cfg.value_or(RunConfig{});
}

TEST(ReadOptions, NoOptionsKeepsTheDefaults) {
  const Outcome outcome = configure({});
  ASSERT_TRUE(outcome.cfg);
  const RunConfig& cfg = *outcome.cfg;
  EXPECT_EQ(cfg.taskname, "vornel");
  EXPECT_EQ(cfg.dgnname, "-");
  EXPECT_EQ(cfg.delete_orig, 1);
  EXPECT_EQ(cfg.out_type, 1);
  EXPECT_EQ(cfg.zero_level, 63);
  EXPECT_EQ(cfg.labJust, 7);
  EXPECT_EQ(cfg.label_pos_mode, -1);
  EXPECT_EQ(cfg.stra_tol, -1.0);
  EXPECT_EQ(cfg.node_link_words, 8);
  EXPECT_EQ(cfg.out_level_mode, 1);
  EXPECT_EQ(cfg.sym_code, (std::array<std::int16_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(outcome.text,
            "\nInterpreting vornel (version 5.6) command line arguments .....\n\n"
            "\nRUNNING QBT_vornel (version 5.6) .....\n");
}

// Levels and sizes of the flag options: each option has its own default for
// a bad level, and sizes of 0 or less take a stated size.
TEST(ReadOptions, FlagLevelsAndSizesFallBackPerOption) {
  struct Case {
    Args args;
    std::function<double(const RunConfig&)> level;
    std::function<double(const RunConfig&)> size;
    double want_level;
    double want_size;
  };
  const auto d_level = [](const RunConfig& c) { return double(c.d_level_out); };
  const auto d_size = [](const RunConfig& c) { return c.dangle_size; };
  const auto j_level = [](const RunConfig& c) { return double(c.join_flag_level); };
  const auto j_size = [](const RunConfig& c) { return c.join_flag_size; };
  const auto p_level = [](const RunConfig& c) { return double(c.dup_flag_level); };
  const auto p_size = [](const RunConfig& c) { return double(c.dup_flag_size); };
  const auto m_level = [](const RunConfig& c) { return double(c.m_level_out); };
  const auto m_size = [](const RunConfig& c) { return double(c.mult_size); };
  const auto o_level = [](const RunConfig& c) { return double(c.o_level_out); };
  const auto o_size = [](const RunConfig& c) { return c.over_size; };
  const auto a_level = [](const RunConfig& c) { return double(c.a_level); };
  const auto a_size = [](const RunConfig& c) { return c.flgSize; };
  const auto nv_level = [](const RunConfig& c) { return double(c.NVfLev); };
  const auto nv_size = [](const RunConfig& c) { return c.NVfSize; };
  const std::vector<Case> cases{
      {{"-D", "70,2"}, d_level, d_size, 0, 2},
      {{"-D", "5,0,ignored"}, d_level, d_size, 5, 1},
      {{"-J", "70,2"}, j_level, j_size, 63, 2},
      {{"-J", "0,-3"}, j_level, j_size, 63, 1},
      {{"-Pfdups", "70,2"}, p_level, p_size, 63, 2},
      {{"-Pfdups", "12"}, p_level, p_size, 12, 1},
      {{"-M", "64,0"}, m_level, m_size, 0, 1},
      {{"-M", "9,2.5"}, m_level, m_size, 9, 2.5},
      {{"-OF", "0,1,0"}, o_level, o_size, 63, 1},
      {{"-OF", "3,2,4"}, o_level, o_size, 2, 4},
      {{"-W", "1,2,-5,99,0"}, a_level, a_size, 63, 1},
      {{"-W", "1,2,-5,7,3"}, a_level, a_size, 7, 3},
      {{"-W", "1,2,5,7,3"}, a_level, a_size, 0, 0},  // level and size only for negative angles
      {{"-NV", "t,code,4,0"}, nv_level, nv_size, 4, 5},
      {{"-NV", "t,code,0,9"}, nv_level, nv_size, 0, 0},  // no flags, size untouched
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const RunConfig cfg = accepted(c.args);
    EXPECT_EQ(c.level(cfg), c.want_level);
    EXPECT_EQ(c.size(cfg), c.want_size);
  }
}

TEST(ReadOptions, OverdistanceAndZeroLevelLimits) {
  EXPECT_EQ(accepted({"-OF", "0,5,1"}).over_dist, 1.0);
  EXPECT_EQ(accepted({"-O", " -4"}).over_dist, 0.0);
  EXPECT_EQ(accepted({"-OA", "2.5"}).over_dist, 2.5);

  struct Case {
    const char* level;
    int zero_opt;
    int zero_level;
  };
  for (const Case& c : {Case{"0", 2, 0}, Case{"99", 1, 63}, Case{" -2", 1, 63}, Case{"12", 1, 12}}) {
    const RunConfig cfg = accepted({"-Z", c.level});
    EXPECT_EQ(cfg.zero_opt, c.zero_opt) << c.level;
    EXPECT_EQ(cfg.zero_level, c.zero_level) << c.level;
  }
}

// Every way an option is improper: the value is consumed, the message names
// the option and not the value, the usage text follows, status 3.
TEST(ReadOptions, ImproperOptionsNameTheOptionAndExitThree) {
  const std::vector<Args> cases{
      {"-"},
      {"-A"},
      {"-Ax"},
      {"-X"},
      {"-P"},
      {"-Ifoo", "x"},
      {"-sx"},
      {"-bx"},
      {"-dx"},
      {"-W3x"},
      {"-l"},
      {"-D", "-5,2"},
      {"-J", "-1"},
      {"-OF", "-1,2,3"},
      {"-Pfdups", "-2"},
      {"-F", "-other"},
      {"-I", "-x"},
      {"-WR", "-3"},
      {"-Z", "-3"},
      {"-zc", "-5,2"},
      {"-S", "S1,2,3,4"},
      {"-S", "-3,0,0,0"},
      {"-S", "8,0,0,0"},
      {"-S", "0,31,0,0"},
      {"-S", "0,0,256,0"},
      {"-S", "0,0,0,8"},
      {"-B", "11,0,5,1,1"},
      {"-B", "0,0,5,1,1"},
      {"-BC", "-1,0,5,1,1"},
      {"-e", "3,1-2-3"},
      {"-e", "12345678"},
      {"-L"},  // a value is needed and there is none
      {"-F", std::string(60, 'f')},
      {"-fFrToID", std::string(20, 't') + ",from,to,A,1"},
      {"-PN", "5,nodes,id,cnt,x," + std::string(25, 'y')},
      {"-a", std::string(256, '1')},
  };
  for (const Args& args : cases) {
    const std::string& option = args[0];
    SCOPED_TRACE(option + (args.size() > 1 ? " " + args[1].substr(0, 30) : ""));
    const Outcome outcome = configure(args, run_env({{"QBT_nodeNextOcc", "1"}}));
    EXPECT_EQ(outcome.status, 3);
    EXPECT_FALSE(outcome.cfg);
    const std::string tail = "\nImproper Flag  - argument " + option + "\n" + kUsage;
    ASSERT_GE(outcome.text.size(), tail.size());
    EXPECT_EQ(outcome.text.substr(outcome.text.size() - tail.size()), tail);
  }
}

TEST(ReadOptions, RPrintsItsOwnMessageBeforeTheImproperFlag) {
  const Outcome outcome = configure({"-R"});
  EXPECT_EQ(outcome.status, 3);
  EXPECT_NE(outcome.text.find("\n\n -R flag not supported in this version.\n Compress file after "
                              "running vornel.\n\nImproper Flag  - argument -R\n"),
            std::string::npos);
}

TEST(ReadOptions, ValueIsConsumedEvenWhenItMakesTheOptionImproper) {
  // "-c" is -D's value, so it never sets curves; -D is the improper one.
  const Outcome outcome = configure({"-D", "-c"});
  EXPECT_EQ(outcome.status, 3);
  EXPECT_NE(outcome.text.find("argument -D\n"), std::string::npos);
  EXPECT_EQ(outcome.text.find("argument -c"), std::string::npos);
}

// Options that stop the run with their own message and status.
TEST(ReadOptions, StopsWithTheirOwnStatus) {
  struct Case {
    Args args;
    int status;
    std::string message;
  };
  const std::vector<Case> cases{
      {{"-h"}, -1, kUsage},
      {{"-c", "stray"}, 1, std::string("\nImproper command syntax - arg stray\n") + kUsage},
      {{""}, 1, "\nImproper command syntax - arg \n"},
      {{"-L", "64"}, 2, "\ninvalid level number 64 - exiting\n"},
      {{"-L", "1,2,3", "-L", "999"}, 2, "\ninvalid level number 999 - exiting\n"},
      {{"-fDbValue", "lines,code,xx,5,1"},
       -1,
       "\nInvalid DbValOpt xx entered - try lt, le, eq, ge, gt, or ne\n"},
      {{"-fDbValue", "lines,code"}, -1, "\nInvalid DbValOpt  entered"},
      {{"-SH", "5,1"}, -1, "\nInvalid centroid type 5 specified - must be 3,7, or 17\n\nprocess exiting\n"},
      {{"-XY", "lin,slope,5"}, 101, "\nInvalid slope option:5\n"},
      {{"-XY", "lin,slope,0"}, 101, "\nInvalid slope option:0\n"},
      {{"-label", "x,name,1,0"}, 79, "\ninvalid label size - vornel exiting"},
      {{"-label", "x,ZEE,1,-2"}, 79, "\ninvalid label size - vornel exiting"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const Outcome outcome = configure(c.args);
    EXPECT_FALSE(outcome.cfg);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_NE(outcome.text.find(c.message), std::string::npos) << outcome.text;
    EXPECT_EQ(outcome.text.find("RUNNING"), std::string::npos);
  }
}

TEST(ReadOptions, SlopeOptionIsOnlyCheckedWithASlopeColumn) {
  const RunConfig cfg = accepted({"-XY", "lin,,9,dist,1,fx,fy,hz,1,tx,ty,lz"});
  EXPECT_EQ(cfg.lin_par_opt, 1);
  EXPECT_EQ(cfg.db_needed, 1);
  EXPECT_EQ(cfg.dist_opt, 1);
  EXPECT_EQ(cfg.highZ_opt, 1);
  EXPECT_EQ(cfg.lowZCol, "lz");
  const RunConfig other = accepted({"-XY", "lin,slope,4,dist,7,fx,fy,hz,0"});
  EXPECT_EQ(other.slope_opt, 4);
  EXPECT_EQ(other.dist_opt, 2);
  EXPECT_EQ(other.highZ_opt, 0);
}

TEST(LevelCodeOption, DigitListsAndLetters) {
  struct Case {
    const char* value;
    int out_level;
    int split_flag_level;
    int split_flag_size;
    int out_level_mode;
  };
  for (const Case& c : {
           Case{"O,12,4", -2, 0, 1, 3},
           Case{"L,12,4", 0, 0, 1, 1},
           Case{"5,12", 5, 12, 1, 0},
           Case{"5,10,3", 5, 10, 3, 0},
           Case{"-3", -3, 63, 1, 4},
           Case{"F,20,7", -1, 20, 7, 2},
           Case{"F", -1, 63, 1, 2},
           Case{"lev7,x9y,s0", 7, 9, 1, 0},
           Case{"63,64", 63, 63, 1, 0},
           Case{"0", 0, 63, 1, 1},
       }) {
    SCOPED_TRACE(c.value);
    const RunConfig cfg = accepted({"-L", c.value});
    EXPECT_EQ(cfg.out_level, c.out_level);
    EXPECT_EQ(cfg.split_flag_level, c.split_flag_level);
    EXPECT_EQ(cfg.split_flag_size, c.split_flag_size);
    EXPECT_EQ(cfg.out_level_mode, c.out_level_mode);
  }
}

TEST(SymbologyOption, ModesValuesAndCodes) {
  using Words = std::array<std::int16_t, 4>;
  struct Case {
    const char* value;
    Words mode;
    Words code;
    int flag_level;
    int flag_size;
  };
  for (const Case& c : {
           Case{",,3,", {-1, -1, 3, -1}, {1, 1, 0, 1}, 63, 100},
           Case{"-1,0,0,0", {-2, 0, 0, 0}, {2, 0, 0, 0}, 63, 100},
           Case{"-2,-0,1,7", {-3, 0, 1, 7}, {3, 0, 0, 0}, 63, 100},
           Case{"o,f,s,2", {-3, -2, -1, 2}, {3, 2, 1, 0}, 63, 100},
           Case{"O,1,2,3,4,5", {-3, -3, -3, -3}, {3, 3, 3, 3}, 63, 100},
           Case{"F,10,50", {-2, -2, -2, -2}, {2, 2, 2, 2}, 10, 50},
           Case{"F", {-2, -2, -2, -2}, {2, 2, 2, 2}, 63, 100},
           Case{"1,2,3,4,12,40", {1, 2, 3, 4}, {0, 0, 0, 0}, 12, 40},
           Case{"1,2,3,4,0,0", {1, 2, 3, 4}, {0, 0, 0, 0}, 63, 100},
       }) {
    SCOPED_TRACE(c.value);
    const RunConfig cfg = accepted({"-S", c.value});
    EXPECT_EQ(cfg.sym_mode, c.mode);
    EXPECT_EQ(cfg.sym_code, c.code);
    EXPECT_EQ(cfg.sym_flag_level, c.flag_level);
    EXPECT_EQ(cfg.sym_flag_size, c.flag_size);
  }
  EXPECT_EQ(accepted({"-S", ",,3,"}).sym_value[kColor], 3);
  EXPECT_EQ(accepted({"-S", "7,30,255,7"}).sym_value, (Words{7, 30, 255, 7}));
}

TEST(ElementTypeOption, OnlyArcsAndComplexPartsMatter) {
  struct Case {
    const char* value;
    int stroke_arcs;
    int complex_parts;
  };
  for (const Case& c : {Case{"3,4,11,12", 0, 0}, Case{"16", 1, 0}, Case{"3-20", 1, 1},
                        Case{"15-13", 0, 1}, Case{"17-40,2", 0, 0}, Case{"", 0, 0}}) {
    SCOPED_TRACE(c.value);
    // -s and -L keep complex parts from stopping the run.
    const RunConfig cfg = accepted({"-s", "-L", "5", "-e", c.value});
    EXPECT_EQ(cfg.stroke_arcs, c.stroke_arcs);
    EXPECT_EQ(cfg.complex_parts, c.complex_parts);
  }
  EXPECT_EQ(accepted({"-elements", "16"}).stroke_arcs, 1);
  EXPECT_EQ(accepted({"-etak"}).etak, 1);
}

TEST(VertexLimitOption, ClampedForLineStringsAndCurves) {
  struct Case {
    Args args;
    int max_out_verts;
    int stroke_curves;
  };
  for (const Case& c : {
           Case{{"-V", "1"}, 2, 0},
           Case{{"-V", "500"}, 101, 0},
           Case{{"-V", "50"}, 50, 0},
           Case{{"-V", "0"}, 0, 0},
           Case{{"-V", "-9"}, 2, 0},
           Case{{"-V", "70000"}, 101, 0},
           Case{{"-sc", "-c", "-V", "2"}, 3, 0},
           Case{{"-sc", "-c", "-V", "200"}, 97, 0},
           Case{{"-sc", "-V", "200"}, 101, 1},
       }) {
    const RunConfig cfg = accepted(c.args);
    EXPECT_EQ(cfg.max_out_verts, c.max_out_verts) << c.args.back();
    EXPECT_EQ(cfg.stroke_curves, c.stroke_curves) << c.args.back();
  }
}

TEST(StrokeOptions, ToleranceIsTakenOnlyWhenTheNextArgumentIsNoOption) {
  const RunConfig before_option = accepted({"-sa", "-c"});
  EXPECT_EQ(before_option.stroke_arcs, 1);
  EXPECT_EQ(before_option.stra_tol, -1.0);
  EXPECT_EQ(before_option.out_type, 0);

  const RunConfig with_value = accepted({"-sa", "0.5", "-sb", "2", "-sc"});
  EXPECT_EQ(with_value.stra_tol, 0.5);
  EXPECT_EQ(with_value.strb_tol, 2.0);
  EXPECT_EQ(with_value.stroke_curves, 1);
  EXPECT_EQ(with_value.strc_tol, -1.0);
}

TEST(DiagOption, DSwitchesOnWithOptionalStartIndex) {
  struct Case {
    Args args;
    int diag_from;
    int out_type;
  };
  for (const Case& c : {Case{{"-d"}, 0, 1}, Case{{"-d", "7"}, 7, 1}, Case{{"-d", "-c"}, 0, 0},
                        Case{{"-c", "-Q", "12"}, 12, 0}}) {
    const RunConfig cfg = accepted(c.args);
    EXPECT_EQ(diag, 1);
    EXPECT_EQ(cfg.diag_from, c.diag_from);
    EXPECT_EQ(cfg.out_type, c.out_type);
  }
  accepted({"-c"});
  EXPECT_EQ(diag, 0);
}

TEST(DiagOption, QAnywhereTracesTheArgumentsBeforeIt) {
  const Outcome traced = configure({"-c", "-D", "5,2", "-Q"});
  EXPECT_NE(traced.text.find("\nTaskname=vornel"), std::string::npos);
  EXPECT_NE(traced.text.find("\nprocessing argument 1 *-c*"), std::string::npos);
  EXPECT_NE(traced.text.find("\nprocessing argument 2 *-D*"), std::string::npos);
  EXPECT_NE(traced.text.find("\n-D (identify dangling output) Option Selected\nwith d_level_out=5 "
                             "and dangle_size=2.0000"),
            std::string::npos);
  EXPECT_NE(traced.text.find("\nprocessing argument 4 *-Q*"), std::string::npos);
  EXPECT_NE(traced.text.find("\nppid=12345, dimen=3, maxverts=100"), std::string::npos);

  const Outcome quiet = configure({"-c", "-D", "5,2"});
  EXPECT_EQ(quiet.text.find("processing argument"), std::string::npos);
}

TEST(RunIdentityFromEnvironment, PointListNameComesFromTheRunIdentifier) {
  const RunConfig cfg = accepted({"-I", "anything.txt"});
  EXPECT_EQ(cfg.ppid, "12345");
  EXPECT_EQ(cfg.ptsname, "sorted.12345");
  EXPECT_EQ(cfg.dimen, 3);
  EXPECT_EQ(cfg.maxverts, 100);
}

TEST(RunIdentityFromEnvironment, MissingRunVariablesStopTheRun) {
  for (const char* name : {"QBT_segpid", "QBT_segdim", "QBT_maxverts"}) {
    Env env = run_env();
    env.erase(name);
    const Outcome outcome = configure({"-c"}, env);
    EXPECT_EQ(outcome.status, 4) << name;
    EXPECT_NE(outcome.text.find(std::string("Environment variable ") + name + " is not set"),
              std::string::npos);
  }
}

TEST(DesignFileOption, FromFOrFromTheDriverForU) {
  EXPECT_EQ(accepted({"-F", "/data/roads.dgn"}).dgnname, "/data/roads.dgn");
  EXPECT_EQ(accepted({"-U", "list.ulf"}, run_env({{"QBT_dgnname", "roads.dgn"}})).dgnname,
            "roads.dgn");
  EXPECT_EQ(configure({"-U", "list.ulf"}, run_env({{"QBT_dgnname", "-roads"}})).status, 3);
  EXPECT_EQ(configure({"-U", "list.ulf"}).status, 4);
  // Options meant for the extractor are stepped over with their values.
  const RunConfig skipped = accepted({"-ll", "1-5", "-lo", "3", "-E", "7", "-u", "2", "-v", "9",
                                      "-DB", "x", "-Db", "y", "-FR", "ref.dgn", "-feature", "f",
                                      "-schema", "s", "-i", "-k"});
  EXPECT_EQ(skipped.dgnname, "-");
}

TEST(FlipOptions, OptionsAndTheirColumns) {
  const Env env = run_env({{"QBT_lineEnt", "12"}, {"QBT_dbName", "roads"}});
  const RunConfig by_value = accepted({"-fDbValue", "lines,code,gt,5,1"}, env);
  EXPECT_EQ(by_value.flip_dbval, 1);
  EXPECT_EQ(by_value.db_needed, 1);
  EXPECT_EQ(by_value.DbValOpt, 5);
  EXPECT_EQ(by_value.DbFlipVal, 5);
  EXPECT_EQ(by_value.db_reset_val, 1);
  EXPECT_EQ(by_value.lineEnt, 12);
  EXPECT_EQ(by_value.lineTable, "lines");
  EXPECT_EQ(by_value.DbValCol, "code");
  EXPECT_EQ(by_value.dbName, "roads");
  for (const char* op : {"lt", "le", "eq", "ge", "gt", "ne"}) {
    const RunConfig cfg = accepted({"-fDbValue", std::string("l,c,") + op + "x,1,1"}, env);
    EXPECT_EQ(std::string("ltleeqgegtne").find(op) / 2 + 1, std::size_t(cfg.DbValOpt)) << op;
  }

  const RunConfig by_ids = accepted({"-fFrToID", "lines,from_id,to_id,DESC,3,x"}, env);
  EXPECT_EQ(by_ids.flip_ids, 1);
  EXPECT_EQ(by_ids.FromIdCol, "from_id");
  EXPECT_EQ(by_ids.ToIdCol, "to_id");
  EXPECT_EQ(by_ids.frto_order, "DES");  // only its first letter is read
  EXPECT_EQ(by_ids.SortColumnNumber, 3);

  EXPECT_EQ(accepted({"-zd"}).flip_chk, -3);
  EXPECT_EQ(accepted({"-zu"}).flip_chk, -2);
  EXPECT_EQ(accepted({"-zr"}).flip_chk, -1);
  EXPECT_EQ(accepted({"-f"}).flip_chk, 1);
  EXPECT_EQ(accepted({"-fdangle"}).dangle_flip, 1);
}

TEST(JoinOptions, GraphicGroupAndElevationSpellings) {
  const RunConfig g0 = accepted({"-g0"});
  EXPECT_EQ(g0.gg_match, 0);
  EXPECT_EQ(g0.gg_zero, 1);
  EXPECT_EQ(accepted({"-gx"}).gg_zero, 0);

  const RunConfig by_mslink = accepted({"-gdb", "tab,mslink"}, run_env({{"QBT_ggent", "4"}}));
  EXPECT_EQ(by_mslink.gg_db, 1);
  EXPECT_EQ(by_mslink.gg_mslink, 1);
  EXPECT_EQ(by_mslink.db_needed, 0);
  EXPECT_EQ(by_mslink.ggTabEnt, 4);
  const RunConfig by_column = accepted({"-gdbx", "tab,grp,extra"});
  EXPECT_EQ(by_column.gg_col, "grp,extra");
  EXPECT_EQ(by_column.db_needed, 1);

  const RunConfig z0 = accepted({"-z0"});
  EXPECT_EQ(z0.z_match, 0);
  EXPECT_EQ(z0.z_zero, 1);
  const RunConfig z3 = accepted({"-z3"});
  EXPECT_EQ(z3.z_three, 1);
  EXPECT_EQ(z3.z_match, 1);

  EXPECT_EQ(accepted({"-Nanything"}).no_join, 1);
  const RunConfig nf = accepted({"-NF"}, run_env({{"QBT_ft_entnum", "9"}}));
  EXPECT_EQ(nf.attr_ft_match, 1);
  EXPECT_EQ(nf.attr_ft_ent, 9);
  EXPECT_EQ(accepted({"-NL"}).label_pos_mode, -2);
}

TEST(ContourOption, IntervalAndColourDefaults) {
  struct Case {
    const char* value;
    int interval;
    int color;
  };
  for (const Case& c : {Case{"0,300", 20, -1}, Case{"5,7", 5, 7}, Case{"c10,256", 10, 256}}) {
    const RunConfig cfg = accepted({"-zc", c.value});
    EXPECT_EQ(cfg.contour_opt, 1);
    EXPECT_EQ(cfg.contour_interval, c.interval) << c.value;
    EXPECT_EQ(cfg.contour_color, c.color) << c.value;
  }
}

TEST(NodeOptions, LinkageFollowsTheLinkType) {
  using Words = std::array<std::int16_t, 8>;
  struct Case {
    const char* linktype;
    Words link;
    int words;
  };
  for (const Case& c : {
           Case{"DMRS", {1, -1, 0, 21, 0, 0, 0, 0}, 4},
           Case{"INFORMIX", {1, -1, 0x1007, 0x3948, 0x0F81, 21, 0, 0}, 6},
           Case{"ORACLE", {1, -1, 0x1007, 0x6091, 0x0F81, 21, 0, 0}, 6},
           Case{"", {1, -1, 0x1007, 0x71FB, 0x0F81, 21, 0, 0}, 6},
       }) {
    const Env env = run_env({{"QBT_linktype", c.linktype}, {"QBT_nodeEnt", "21"},
                             {"QBT_nodeNextOcc", "501"}, {"QBT_dbName", "net"}});
    const Outcome outcome = configure({"-PNU", "70,nodes,id,cnt,x,y"}, env);
    ASSERT_TRUE(outcome.cfg) << outcome.text;
    const RunConfig& cfg = *outcome.cfg;
    EXPECT_EQ(cfg.node_link, c.link) << c.linktype;
    EXPECT_EQ(cfg.node_link_words, c.words) << c.linktype;
    EXPECT_EQ(cfg.node_opt, 2);
    EXPECT_EQ(cfg.node_level, 63);
    EXPECT_EQ(cfg.nodeNextOcc, 501);
    EXPECT_EQ(cfg.nodeYCol, "y");
    EXPECT_NE(outcome.text.find("\nWill place nodes on level 63 and insert records/data into nodes\n"),
              std::string::npos);
  }
}

TEST(NodeOptions, NewNodeRowsNeedTheirNextNumber) {
  const Outcome outcome = configure({"-PN", "5,nodes,id,cnt,x,y"});
  EXPECT_EQ(outcome.status, 4);
  EXPECT_NE(outcome.text.find("QBT_nodeNextOcc is not set"), std::string::npos);
}

TEST(NodeOptions, IdTransferTakesTheRestAsIdType) {
  const Env env = run_env({{"QBT_lineEnt", "3"}, {"QBT_nodeEnt", "4"}});
  const Outcome outcome = configure({"-ID_N2L", "nodes,nid,lines,fid,tid,N,ignored"}, env);
  ASSERT_TRUE(outcome.cfg);
  const RunConfig& cfg = *outcome.cfg;
  EXPECT_EQ(cfg.id_n2l, 1);
  EXPECT_EQ(cfg.id_numeric, 1);
  EXPECT_EQ(cfg.nodeTable, "nodes");
  EXPECT_EQ(cfg.IdCol, "nid");
  EXPECT_EQ(cfg.nodeIdCol, "");
  EXPECT_EQ(cfg.lineEnt, 3);
  EXPECT_EQ(cfg.nodeEnt, 4);
  EXPECT_NE(outcome.text.find("\nWill load node ids to linear from/to ids\n"), std::string::npos);

  const RunConfig text_ids = accepted({"-ID_L2N", "nodes,nid,lines,fid,tid,C"});
  EXPECT_EQ(text_ids.id_l2n, 1);
  EXPECT_EQ(text_ids.id_numeric, 0);
}

TEST(CentroidOption, TextPresetsForTextNodes) {
  const RunConfig cfg = accepted({"-SH", "17,70,1,2,30"});
  EXPECT_EQ(cfg.shape_centroid, 1);
  EXPECT_EQ(cfg.centroid_type, 17);
  EXPECT_EQ(cfg.centroid_level, 63);
  EXPECT_EQ(cfg.centroid_text_param, 2);
  EXPECT_EQ(cfg.centroid_text_size, (std::array<std::int32_t, 2>{30, 30}));
  EXPECT_EQ(cfg.text_node_params.max_length, 10);
  EXPECT_EQ(cfg.text_node_params.param, 2);
  EXPECT_EQ(cfg.text_sym.weight, 1);
  EXPECT_EQ(cfg.text_sym.color, 4);
  EXPECT_EQ(accepted({"-SH", "3,0"}).centroid_level, 0);
}

TEST(LabelOption, ColumnsAndParameters) {
  const Env env = run_env({{"QBT_labent", "8"}, {"QBT_dbName", "roads"}});
  const RunConfig by_column = accepted({"-label", "x,name,0,2.5,,,3,1,45,10,20,1.5,-2"}, env);
  EXPECT_EQ(by_column.label_opt, 1);
  EXPECT_EQ(by_column.lab_db, 1);
  EXPECT_EQ(by_column.labEnt, 8);
  EXPECT_EQ(by_column.dbName, "roads");
  EXPECT_EQ(by_column.lab_same_level, 1);
  EXPECT_EQ(by_column.labSize, 2.5);
  EXPECT_EQ(by_column.labFt, 0);
  EXPECT_EQ(by_column.labJust, 7);
  EXPECT_EQ(by_column.labColor, 3);
  EXPECT_EQ(by_column.labAngle, 45);
  EXPECT_EQ(by_column.labOff.y, -2);

  const RunConfig zee = accepted({"-label", "x,ZEE,4,1"}, env);
  EXPECT_EQ(zee.lab_zee, 1);
  EXPECT_EQ(zee.lab_db, 0);
  EXPECT_EQ(zee.dbName, "");
  EXPECT_EQ(zee.labLevel, 4);

  EXPECT_EQ(accepted({"-label", "x,mslink,4,1"}, env).lab_mslink, 1);

  const Outcome dxf = configure({"-label", "x,dxf_text,,9,5,9"}, env);
  ASSERT_TRUE(dxf.cfg);
  EXPECT_EQ(dxf.cfg->lab_dxf, 1);
  EXPECT_EQ(dxf.cfg->labLevel, 3);
  EXPECT_EQ(dxf.cfg->labSize, 0);
  EXPECT_EQ(dxf.cfg->labFt, 5);
  EXPECT_EQ(dxf.cfg->labJust, 7);
  EXPECT_EQ(dxf.cfg->lab_color_same, 1);
  EXPECT_NE(dxf.text.find("\nsetting dxf label parameters ... for dbread of label placement values\n"),
            std::string::npos);
  EXPECT_NE(dxf.text.find("\n\aLabel option has been selected !\n"), std::string::npos);
}

TEST(BreakTableOption, DatabaseTablesAndName) {
  const Env env = run_env({{"QBT_curbrktabent", "5"}, {"QBT_newbrktabent", "0"},
                           {"QBT_dbName", "terrain extra"}});
  const RunConfig cfg = accepted({"-B", "1,0,100000,1,1", "-BD", "cur,new,key"}, env);
  EXPECT_EQ(cfg.brk_db, 1);
  EXPECT_EQ(cfg.curbrkTabEnt, 5);
  EXPECT_EQ(cfg.curbrkTabName, "cur");
  EXPECT_EQ(cfg.newbrkTabName, "");
  EXPECT_EQ(cfg.dbName, "terrain");

  Env with_new = env;
  with_new["QBT_newbrktabent"] = "6";
  EXPECT_EQ(accepted({"-B", "1,0,100000,1,1", "-BD", "cur,new,key"}, with_new).newbrkColKey, "key");

  // A database name longer than its buffer is refused, not cut to another name.
  const Outcome long_name = configure({"-BD", "cur"}, run_env({{"QBT_dbName", std::string(32, 'd')}}));
  EXPECT_EQ(long_name.status, 3);
  EXPECT_NE(long_name.text.find("\nQBT_dbName is too long (at most 31 characters)"), std::string::npos);
  EXPECT_EQ(accepted({"-BD", "cur"}, run_env({{"QBT_dbName", std::string(31, 'd')}})).dbName,
            std::string(31, 'd'));
}

}  // namespace
}  // namespace vornel::joiner
