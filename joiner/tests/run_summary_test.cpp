// The summary lines: which appear under which settings, their wording in the
// normal and the early variants, and the counters printed less one.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "joiner/run/run_finish.h"

namespace {

using namespace vornel::joiner;

struct Case {
  const char* name;
  std::function<void(RunConfig&, RunCounters&)> set;
  SummaryVariant variant;
  std::string expected;
};

TEST(RunSummary, LinesFollowTheirConditions) {
  const Case cases[] = {
      {"a plain run", [](RunConfig&, RunCounters& c) { c.processed_elements = 60; c.written_elements = 6; },
       SummaryVariant::normal, "\n  Converted 60 segments into 6 line strings/lines\n"},
      {"delete only",
       [](RunConfig& cfg, RunCounters& c) {
         cfg.no_out_opt = 1;
         c.deleted_elements = 4;
       },
       SummaryVariant::normal, "\n  Deleted 4 segments\n"},
      {"no output without deleting prints no conversion line",
       [](RunConfig& cfg, RunCounters&) {
         cfg.no_out_opt = 1;
         cfg.delete_orig = 0;
       },
       SummaryVariant::normal, ""},
      {"B-splines", [](RunConfig& cfg, RunCounters& c) { cfg.out_type = 2; c.processed_elements = 3; c.written_elements = 1; },
       SummaryVariant::normal, "\n  Converted 3 segments into 1 B-splines\n"},
      {"shapes are left out of the early summary",
       [](RunConfig& cfg, RunCounters&) { cfg.out_type = -2; }, SummaryVariant::early, ""},
      {"shapes in the error summary",
       [](RunConfig& cfg, RunCounters&) { cfg.out_type = -2; }, SummaryVariant::line_pass_error,
       "\n  Converted 0 segments into 0 shapes\n"},
      {"dangles, normal wording",
       [](RunConfig& cfg, RunCounters& c) {
         cfg.no_out_opt = 1;
         cfg.delete_orig = 0;
         cfg.dangle_opt = 1;
         cfg.d_level_out = 12;
         c.dangle_count = 2;
       },
       SummaryVariant::normal, "\n  Identified 2 dangling endpoints and placed circles on level 12\n"},
      {"dangles, early wording",
       [](RunConfig& cfg, RunCounters& c) {
         cfg.no_out_opt = 1;
         cfg.delete_orig = 0;
         cfg.dangle_opt = 1;
         cfg.d_level_out = 12;
         c.dangle_count = 2;
       },
       SummaryVariant::early, "\n  Identified 2 dangling lines and placed circles on level 12\n"},
      {"counters that start at one print less one, symbology lines have no leading line feed",
       [](RunConfig& cfg, RunCounters& c) {
         cfg.no_out_opt = 1;
         cfg.delete_orig = 0;
         cfg.dangle_flip = 1;
         cfg.sym_code[kColor] = 2;
         cfg.sym_flag_level = 9;
         c.color_change_count = 3;
       },
       SummaryVariant::normal,
       "\n  Flipped 0 dangling lines\n  Identified 3 multi-color lines and placed ellipses on level 9\n"},
      {"zero-length lines deleted and moved",
       [](RunConfig& cfg, RunCounters&) {
         cfg.no_out_opt = 1;
         cfg.delete_orig = 0;
         cfg.zero_opt = 5;
         cfg.zero_level = 0;
       },
       SummaryVariant::normal, "\n  deleted 3 zero length lines"},
      {"weeding figures",
       [](RunConfig& cfg, RunCounters& c) {
         cfg.no_out_opt = 1;
         cfg.delete_orig = 0;
         cfg.weed_mode = 4;
         c.vertices_in = 246;
         c.vertices_out = 48;
       },
       SummaryVariant::normal,
       "\n  weeded 0 zero length cords\n  initial vertices   = 246\n  weeded vertices    = 198\n  remaining "
       "vertices = 48\n\n  WEEDING reduced number of vertices by 80.5 percent\n\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunConfig cfg;
    std::ostringstream out;
    JoinRun run(cfg, out);
    c.set(cfg, run.counters);
    print_summary(run, c.variant);
    EXPECT_EQ(out.str(), c.expected);
  }
}

}  // namespace
