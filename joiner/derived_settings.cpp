#include "joiner/derived_settings.h"

#include <algorithm>
#include <string>

#include "joiner/diag.h"
#include "joiner/usage.h"
#include "joiner/value_lists.h"

namespace vornel::joiner {

namespace {

constexpr int kChainCapacity = 25000;  // vertices the join engine's chain buffer holds

// ppid, dimen, maxverts and ptsname from the driver's run variables.
std::optional<int> read_run_identity(RunConfig& cfg, const RunEnvironment& env, std::ostream& out) {
  for (const char* name : {"QBT_segpid", "QBT_segdim", "QBT_maxverts"}) {
    if (!env.has(name)) {
      print_missing_environment(out, name);
      return kMissingEnvironmentStatus;
    }
  }
  cfg.ppid.assign_cut(env.text("QBT_segpid"));
  cfg.dimen = to_int16(env.number("QBT_segdim"));
  cfg.maxverts = env.number("QBT_maxverts");
  cfg.ptsname.assign(std::string("sorted.") + cfg.ppid.c_str());
  if (diag == 1) {
    print(out, "\nppid=%s, dimen=%d, maxverts=%ld", cfg.ppid.c_str(), cfg.dimen,
          static_cast<long>(cfg.maxverts));
  }
  return std::nullopt;
}

void clamp_output_vertices(RunConfig& cfg) {
  if (cfg.max_out_verts == 0) return;
  if (cfg.out_type != 0) {
    cfg.max_out_verts = std::clamp<std::int16_t>(cfg.max_out_verts, 2, 101);
  } else {
    cfg.stroke_curves = 0;
    cfg.max_out_verts = std::clamp<std::int16_t>(cfg.max_out_verts, 3, 97);
  }
}

// Level and save, id direction, flips.
std::optional<int> check_output_and_flips(const RunConfig& cfg, std::ostream& out) {
  if (cfg.out_level < 1 && cfg.delete_orig == 0 && cfg.no_out_opt == 0) {
    print(out,
          "\n \nImproper combination of flags:\nCannot output joined linework to original level "
          "(No [ -L outlevel ] option) AND\n save [ -s option ] the original data on the same level\n");
    return -1;
  }
  if (cfg.id_n2l && cfg.id_l2n) {
    print(out,
          "\n\n\aSorry - you can't have it both ways and load node ids to linear ids and visa versa "
          "during the same run");
    return -2;
  }
  const int flips = (cfg.flip_chk != 0) + (cfg.flip_ids != 0) + (cfg.flip_dbval != 0);
  if (flips >= 2) {
    print(out, "\nCannot perform multiple flip options (-f...) at same time\n\nvornel exiting");
    return -1;
  }
  return std::nullopt;
}

std::optional<int> settle_break_intervals(RunConfig& cfg, const ReadState& state, std::ostream& out) {
  if (cfg.brk_count <= 0) return std::nullopt;
  if (cfg.brk_color) cfg.rainbow = 0;
  if (cfg.dimen == 2) {
    print(out, "\n \nImproper combination of options:\nCannot break linework by slope in 2-d file");
    return -1;
  }
  // Intervals are numbered by the user; a number skipped below the highest one
  // would leave an interval of zeros in the middle of the table.
  for (int n = 1; n <= cfg.brk_count; ++n) {
    if (!state.intervals_given.test(static_cast<std::size_t>(n))) {
      print(out, "\nSlope break interval %d was not specified - intervals 1 to %d are needed\n", n,
            cfg.brk_count);
      return 111;
    }
  }
  const int last = cfg.brk_count;
  if (cfg.brk_max_pct[last] < 10000.0F && cfg.brk_count < kMaxBreakIntervals) {
    const int added = last + 1;
    cfg.brk_min_pct[added] = cfg.brk_max_pct[last];
    cfg.brk_max_pct[added] = 999999.0F;
    cfg.brk_limit[added] = 2 * cfg.brk_limit[last];
    cfg.brk_min_len[added] = cfg.brk_min_len[last];
    cfg.brk_count = static_cast<std::int16_t>(added);
  }
  print(out, "\nBreak Lines Option Selected - %d intervals input", cfg.brk_count);
  for (int n = 1; n <= cfg.brk_count; ++n) {
    if (diag) {
      print(out, "\n [%d] %.2f,%.2f,%.2f,%.2f   %d", n - 1, static_cast<double>(cfg.brk_min_pct[n]),
            static_cast<double>(cfg.brk_max_pct[n]), static_cast<double>(cfg.brk_limit[n]),
            cfg.brk_min_len[n], cfg.brk_count);
    }
    if (n > 1 && cfg.brk_min_pct[n] < cfg.brk_max_pct[n - 1]) {
      print(out,
            "\nInconsistent limits for intervals %d and %d\nNext lower limit %.2f is less than prior "
            "upper limit %.2f",
            n - 1, n - 2, static_cast<double>(cfg.brk_min_pct[n]),
            static_cast<double>(cfg.brk_max_pct[n - 1]));
      return 111;
    }
  }
  return std::nullopt;
}

void announce_output_choice(const RunConfig& cfg, std::ostream& out) {
  if (cfg.delete_orig && cfg.no_out_opt) print(out, "\n\aDELETE OPTION HAS BEEN SELECTED !\n");
  if (cfg.label_opt) print(out, "\n\aLabel option has been selected !\n");
  if (!cfg.delete_orig && !cfg.label_opt && cfg.no_out_opt) {
    print(out, "\n\aNO OUTPUT OPTION HAS BEEN SELECTED !\n");
  }
}

// The codes the processing stages read: 1 - out_level for a level code, and
// -sym_mode for a symbology mode (0 for explicit values).
void derive_codes(RunConfig& cfg) {
  cfg.out_level_mode = cfg.out_level < 1 ? to_int16(1 - cfg.out_level) : std::int16_t{0};
  for (std::size_t attr = 0; attr < cfg.sym_mode.size(); ++attr) {
    const std::int16_t mode = cfg.sym_mode[attr];
    cfg.sym_code[attr] = mode < 1 ? to_int16(-mode) : std::int16_t{0};
  }
}

}  // namespace

std::optional<int> derive_settings(RunConfig& cfg, const ReadState& state, const RunEnvironment& env,
                                   std::ostream& out) {
  if (auto stop = read_run_identity(cfg, env, out)) return stop;

  if (cfg.join_flag) {
    cfg.no_out_opt = 1;
    cfg.delete_orig = 0;
  }
  clamp_output_vertices(cfg);

  cfg.first_pass = cfg.dangle_opt || cfg.dangle_flip || cfg.over_opt || cfg.over_flag ? 1 : 2;
  if (cfg.over_opt) cfg.over_flag = 0;

  if (cfg.complex_out) {
    cfg.maxpts_c = cfg.out_type != 0 ? 9999 : 9603;
    if (diag) print(out, "\nMAXPTS=%d maxpts_c=%d\n", kChainCapacity, cfg.maxpts_c);
  }

  print_running_banner(out);
  if (auto stop = check_output_and_flips(cfg, out)) return stop;
  if (auto stop = settle_break_intervals(cfg, state, out)) return stop;

  if (cfg.brk_count == 0 && cfg.curbrkTabEnt != 0) {
    print(out, "\nInvalid use of -BD and -B options - no -B intervals specified\n");
    return 5;
  }
  if (cfg.lin_par_opt) print(out, "\nWill load linear parameters to the database\n");
  if (cfg.complex_parts && cfg.delete_orig) {
    print(out,
          "\n \nImproper combination of flags:\nCannot delete complex element parts (types 14)\n"
          " Must use -L flag to output to new level");
    return -1;
  }
  announce_output_choice(cfg, out);

  if (!cfg.keep_attr) {
    cfg.attr_ft_match = 0;
    cfg.attr_all_match = 0;
  }
  if (cfg.attr_all_match) {
    cfg.attr_ft_match = 0;
    cfg.attr_ft_ent = 0;
  }
  derive_codes(cfg);
  return std::nullopt;
}

}  // namespace vornel::joiner
