#include "joiner/option_table.h"

#include <algorithm>
#include <array>
#include <type_traits>

#include "joiner/database_options.h"
#include "joiner/diag.h"
#include "joiner/level_rules.h"
#include "joiner/usage.h"
#include "joiner/value_lists.h"
#include "joiner/value_syntax.h"

namespace vornel::joiner {

namespace {

// How an argument is compared with a spelling of the table.
enum class Match {
  exact,   // the whole argument equals the spelling
  prefix,  // the spelling, or the spelling followed by anything
  longer,  // the spelling followed by at least one more character
};

// Whether the option consumes the next argument.
enum class Takes {
  nothing,
  value,     // always the next argument, whatever it looks like
  optional,  // the next argument when there is one and it does not begin with '-'
};

using Reader = Verdict (*)(OptionContext&);

struct OptionSpec {
  std::string_view spelling;
  Match match;
  Takes takes;
  bool value_no_dash;  // a value beginning with '-' makes the option improper
  Reader read;
};

Verdict skip(OptionContext&) { return Verdict::accept(); }

// Options that set one field to a fixed value.
template <auto Field, auto Value>
Verdict set(OptionContext& ctx) {
  using FieldType = std::remove_reference_t<decltype(ctx.cfg.*Field)>;
  ctx.cfg.*Field = static_cast<FieldType>(Value);
  return Verdict::accept();
}

// ---- attributes, angle, output kinds -------------------------------------

Verdict read_AS(OptionContext& ctx) {
  ctx.cfg.keep_attr = 0;
  ctx.cfg.ft_entnum = 0;
  return Verdict::accept();
}

Verdict read_AU(OptionContext& ctx) {
  ctx.cfg.ft_entnum = to_int16(ctx.env.number("QBT_ft_entnum"));
  return Verdict::accept();
}

Verdict read_AR(OptionContext& ctx) {
  ctx.cfg.remove_attr = c_atoi(ctx.value);
  return Verdict::accept();
}

Verdict read_a(OptionContext& ctx) {
  ctx.cfg.angShift = c_atof(ctx.value);
  return Verdict::accept();
}

Verdict read_o(OptionContext& ctx) {
  ctx.cfg.out_type = -1;
  ctx.cfg.label_pos_mode = -2;
  return Verdict::accept();
}

Verdict read_Shape(OptionContext& ctx) {
  ctx.cfg.out_type = -2;
  print(ctx.out, "\nWill output closed loops as shapes(type 6) elements\n");
  return Verdict::accept();
}

Verdict read_p(OptionContext& ctx) {
  ctx.cfg.rainbow = 1;
  print(ctx.out, "\nWill output rainbow colors");
  return Verdict::accept();
}

Verdict read_V(OptionContext& ctx) {
  ctx.cfg.max_out_verts = to_int16(c_atoi(ctx.value));
  return Verdict::accept();
}

// ---- slope breaks ----------------------------------------------------------

Verdict read_BC(OptionContext& ctx) {
  ctx.cfg.brk_color = 1;
  return read_break_interval(ctx);
}

// ---- flags -----------------------------------------------------------------

Verdict read_D(OptionContext& ctx) {
  const SplitList list(ctx.value);  // a third field is accepted and unused
  ctx.cfg.dangle_opt = 1;
  ctx.cfg.d_level_out = level_or(list.integer(1), 0);
  ctx.cfg.dangle_size = positive_or(list.real(2), 1.0);
  if (diag) {
    print(ctx.out, "\n-D (identify dangling output) Option Selected\nwith d_level_out=%d and dangle_size=%.4f",
          ctx.cfg.d_level_out, ctx.cfg.dangle_size);
  }
  return Verdict::accept();
}

Verdict read_J(OptionContext& ctx) {
  const SplitList list(ctx.value);
  ctx.cfg.join_flag = 1;
  ctx.cfg.no_out_opt = 1;
  ctx.cfg.delete_orig = 0;
  ctx.cfg.join_flag_level = level_or(list.integer(1), kTopLevel);
  ctx.cfg.join_flag_size = positive_or(list.real(2), 1.0);
  if (diag) {
    print(ctx.out, "\n-J (flag possible joins) Option Selected\nwith join_flag_level=%d and join_flag_size=%.4f",
          ctx.cfg.join_flag_level, ctx.cfg.join_flag_size);
  }
  return Verdict::accept();
}

Verdict read_M(OptionContext& ctx) {
  const SplitList list(ctx.value);
  ctx.cfg.multi_opt = 1;
  ctx.cfg.m_level_out = level_or(list.integer(1), 0);
  ctx.cfg.mult_size = static_cast<float>(positive_or(list.real(2), 1.0));
  if (diag) {
    print(ctx.out, "\n-M (identify multi-joins) Option Selected\nwith m_level_out=%d and mult_size=%.4f",
          ctx.cfg.m_level_out, static_cast<double>(ctx.cfg.mult_size));
  }
  return Verdict::accept();
}

Verdict read_O(OptionContext& ctx) {
  ctx.cfg.over_opt = 1;
  ctx.cfg.over_dist = std::max(c_atof(ctx.value), 0.0);
  if (diag) {
    print(ctx.out, "\n-O (delete overshoots) Option Selected\nwith over_dist=%.4f", ctx.cfg.over_dist);
  }
  return Verdict::accept();
}

Verdict read_OF(OptionContext& ctx) {
  const SplitList list(ctx.value);
  RunConfig& cfg = ctx.cfg;
  cfg.over_flag = 1;
  cfg.over_dist = positive_or(list.real(1), 1.0);
  const int level = list.integer(2);
  cfg.o_level_out = level >= 2 && level <= kTopLevel ? static_cast<std::int16_t>(level)
                                                     : std::int16_t{kTopLevel};
  cfg.over_size = positive_or(list.real(3), 1.0);
  if (diag) {
    print(ctx.out, "\n-OF (flag overshoots) Option Selected\nwith over_dist=%.4f o_level_out=%d over_size=%.4f",
          cfg.over_dist, cfg.o_level_out, cfg.over_size);
  }
  return Verdict::accept();
}

Verdict read_Pfdups(OptionContext& ctx) {
  const SplitList list(ctx.value);
  ctx.cfg.dup_flag = 1;
  ctx.cfg.dup_flag_level = level_or(list.integer(1), kTopLevel);
  ctx.cfg.dup_flag_size = static_cast<float>(positive_or(list.real(2), 1.0));
  if (diag) {
    print(ctx.out, "\n-Pfdups (flag multiple nodes) Option Selected\nwith dup_flag_level=%d and dup_flag_size=%.4f",
          ctx.cfg.dup_flag_level, static_cast<double>(ctx.cfg.dup_flag_size));
  }
  return Verdict::accept();
}

Verdict read_Z(OptionContext& ctx) {
  const int level = c_atoi(ctx.value);
  ctx.cfg.zero_opt = level == 0 ? 2 : 1;
  ctx.cfg.zero_level = level < 0 || level > kTopLevel ? std::int16_t{kTopLevel}
                                                      : static_cast<std::int16_t>(level);
  if (diag) {
    print(ctx.out, "\n-Z (zero length lines) Option Selected\nwith zero_opt=%d and zero_level=%d",
          ctx.cfg.zero_opt, ctx.cfg.zero_level);
  }
  return Verdict::accept();
}

// ---- joining rules ---------------------------------------------------------

Verdict read_NF(OptionContext& ctx) {
  ctx.cfg.attr_ft_match = 1;
  ctx.cfg.attr_ft_ent = to_int16(ctx.env.number("QBT_ft_entnum"));
  return Verdict::accept();
}

Verdict read_NO(OptionContext& ctx) {
  ctx.cfg.no_out_opt = 1;
  ctx.cfg.delete_orig = 0;
  return Verdict::accept();
}

Verdict read_g(OptionContext& ctx) {
  ctx.cfg.gg_match = 0;
  if (ctx.option.size() > 2 && ctx.option[2] == '0') ctx.cfg.gg_zero = 1;
  return Verdict::accept();
}

Verdict read_z(OptionContext& ctx) {
  ctx.cfg.z_match = 0;
  if (ctx.option.size() > 2 && ctx.option[2] == '0') ctx.cfg.z_zero = 1;
  return Verdict::accept();
}

Verdict read_zc(OptionContext& ctx) {
  const DigitField interval = digit_field(ctx.value, 1);
  const DigitField color = digit_field(ctx.value, 2);
  ctx.cfg.contour_opt = 1;
  ctx.cfg.contour_interval = interval.number == 0 ? std::int16_t{20} : to_int16(interval.number);
  ctx.cfg.contour_color = color.number > 256 ? std::int16_t{-1} : to_int16(color.number);
  if (diag) {
    print(ctx.out, "\n-zc (contour colours) Option Selected\nwith contour_interval=%d and contour_color=%d",
          ctx.cfg.contour_interval, ctx.cfg.contour_color);
  }
  return Verdict::accept();
}

// ---- output switches -------------------------------------------------------

Verdict read_delete(OptionContext& ctx) {
  ctx.cfg.no_out_opt = 1;
  ctx.cfg.delete_orig = 1;
  return Verdict::accept();
}

Verdict read_m(OptionContext& ctx) {
  ctx.cfg.label_limit_opt = 1;
  ctx.cfg.label_limit = to_int16(c_atoi(ctx.value));
  return Verdict::accept();
}

// -d and -Q: diagnostics on, from record index n when n is given.
Verdict read_d(OptionContext& ctx) {
  diag = 1;
  ctx.cfg.diag_from = ctx.has_value ? to_int16(c_atoi(ctx.value)) : std::int16_t{0};
  print(ctx.out, "\nTaskname=%s\ndiag_from=%d", ctx.cfg.taskname.c_str(), ctx.cfg.diag_from);
  return Verdict::accept();
}

Verdict read_h(OptionContext& ctx) {
  print_usage(ctx.out);
  return Verdict::stop(-1);
}

Verdict read_R(OptionContext& ctx) {
  print(ctx.out, "\n\n -R flag not supported in this version.\n Compress file after running vornel.\n");
  return Verdict::improper();
}

// ---- stroking and weeding --------------------------------------------------

template <std::int16_t RunConfig::*Flag, double RunConfig::*Tolerance>
Verdict read_stroke(OptionContext& ctx) {
  ctx.cfg.*Flag = 1;
  if (ctx.has_value) ctx.cfg.*Tolerance = c_atof(ctx.value);
  return Verdict::accept();
}

Verdict read_W(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  cfg.weed_mode = 4;
  cfg.w_dist = static_cast<float>(list.real(1));
  cfg.w_length = static_cast<float>(list.real(2));
  cfg.w_angle = static_cast<float>(list.real(3));
  if (cfg.w_angle < 0) {
    cfg.a_level = level_or(list.integer(4), kTopLevel);
    cfg.flgSize = positive_or(list.real(5), 1.0);
    print(ctx.out, "\nw_dist=%f\nw_length=%f\nw_angle=%f", static_cast<double>(cfg.w_dist),
          static_cast<double>(cfg.w_length), static_cast<double>(cfg.w_angle));
    print(ctx.out, "\na_level=%d\nflgSize=%.1f\n", cfg.a_level, cfg.flgSize);
  }
  return Verdict::accept();
}

Verdict read_WM(OptionContext& ctx) {
  ctx.cfg.weed_mode = 4;
  ctx.cfg.w_dist = 0;
  ctx.cfg.w_length = 0;
  ctx.cfg.w_angle = 45;
  return Verdict::accept();
}

Verdict read_WR(OptionContext& ctx) {
  ctx.cfg.weed_mode = 1;
  ctx.cfg.ras_pixel = c_atoi(ctx.value);
  return Verdict::accept();
}

// ---- files -----------------------------------------------------------------

Verdict read_F(OptionContext& ctx) {
  return ctx.put(ctx.cfg.dgnname, ctx.value, "design file name") ? Verdict::accept()
                                                                  : Verdict::improper();
}

// -U: an element list run; the design file comes from the driver.
Verdict read_U(OptionContext& ctx) {
  const std::string name = ctx.env.text("QBT_dgnname");
  if (name.empty()) {
    print_missing_environment(ctx.out, "QBT_dgnname");
    return Verdict::stop(kMissingEnvironmentStatus);
  }
  if (name.front() == '-') return Verdict::improper();
  return ctx.put(ctx.cfg.dgnname, name, "QBT_dgnname") ? Verdict::accept() : Verdict::improper();
}

// ---- shapes ------------------------------------------------------------------

Verdict read_SH(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  const int type = list.integer(1);
  if (type != 3 && type != 7 && type != 17) {
    print(ctx.out, "\nInvalid centroid type %d specified - must be 3,7, or 17\n\nprocess exiting\n", type);
    return Verdict::stop(-1);
  }
  const int level = list.integer(2);
  cfg.shape_centroid = 1;
  cfg.centroid_type = static_cast<std::int16_t>(type);
  cfg.centroid_level = level < 0 || level > kTopLevel ? std::int16_t{kTopLevel}
                                                      : static_cast<std::int16_t>(level);
  if (type != 3) {
    cfg.centroid_text_param = to_int16(list.integer(4));
    cfg.centroid_text_size.fill(list.integer(5));
    if (diag) print(ctx.out, "\n-SH text node value a=%d", list.integer(3));
  }
  preset_centroid_text(cfg);
  if (diag) {
    print(ctx.out, "\n-SH (shape centroids) Option Selected\nwith centroid_type=%d centroid_level=%d",
          cfg.centroid_type, cfg.centroid_level);
  }
  return Verdict::accept();
}

// ---- the table -------------------------------------------------------------
// The first entry that matches wins, so longer spellings come before the
// prefixes that would also take them.

constexpr Takes kNone = Takes::nothing;
constexpr Takes kValue = Takes::value;
constexpr Takes kOptional = Takes::optional;
constexpr bool kNoDash = true;

constexpr std::array kOptions = std::to_array<OptionSpec>({
    {"-AS", Match::exact, kNone, false, read_AS},
    {"-AU", Match::exact, kNone, false, read_AU},
    {"-AR", Match::exact, kValue, false, read_AR},
    {"-a", Match::exact, kValue, false, read_a},
    {"-B", Match::exact, kValue, false, read_break_interval},
    {"-BC", Match::exact, kValue, false, read_BC},
    {"-BD", Match::exact, kValue, false, read_BD},
    {"-b", Match::exact, kNone, false, set<&RunConfig::out_type, 2>},
    {"-C", Match::exact, kNone, false, set<&RunConfig::complex_out, 1>},
    {"-c", Match::exact, kNone, false, set<&RunConfig::out_type, 0>},
    {"-D", Match::exact, kValue, kNoDash, read_D},
    {"-DB", Match::exact, kValue, false, skip},
    {"-Db", Match::exact, kValue, false, skip},
    {"-d", Match::exact, kOptional, false, read_d},
    {"-Q", Match::exact, kOptional, false, read_d},
    {"-del17", Match::exact, kNone, false, set<&RunConfig::del17, 1>},
    {"-delete", Match::exact, kNone, false, read_delete},
    {"-E", Match::exact, kValue, false, skip},
    {"-etak", Match::exact, kNone, false, set<&RunConfig::etak, 1>},
    {"-e", Match::prefix, kValue, false, read_element_types},
    {"-F", Match::exact, kValue, kNoDash, read_F},
    {"-F", Match::longer, kValue, false, skip},
    {"-feature", Match::exact, kValue, false, skip},
    {"-f", Match::exact, kNone, false, set<&RunConfig::flip_chk, 1>},
    {"-fdangle", Match::exact, kNone, false, set<&RunConfig::dangle_flip, 1>},
    {"-fFrToID", Match::exact, kValue, false, read_fFrToID},
    {"-fDbValue", Match::exact, kValue, false, read_fDbValue},
    {"-gdb", Match::prefix, kValue, false, read_gdb},
    {"-g", Match::prefix, kNone, false, read_g},
    {"-h", Match::exact, kNone, false, read_h},
    {"-I", Match::exact, kValue, kNoDash, skip},
    {"-ID_N2L", Match::exact, kValue, false, read_ID_N2L},
    {"-ID_L2N", Match::exact, kValue, false, read_ID_L2N},
    {"-i", Match::exact, kNone, false, skip},
    {"-k", Match::exact, kNone, false, skip},
    {"-J", Match::exact, kValue, kNoDash, read_J},
    {"-L", Match::exact, kValue, false, read_level_code},
    {"-label", Match::exact, kValue, false, read_label},
    {"-l", Match::longer, kValue, false, skip},
    {"-M", Match::exact, kValue, false, read_M},
    {"-m", Match::exact, kValue, false, read_m},
    {"-NA", Match::exact, kNone, false, set<&RunConfig::attr_all_match, 1>},
    {"-NF", Match::exact, kNone, false, read_NF},
    {"-NL", Match::exact, kNone, false, set<&RunConfig::label_pos_mode, -2>},
    {"-NO", Match::exact, kNone, false, read_NO},
    {"-NV", Match::exact, kValue, false, read_NV},
    {"-N", Match::prefix, kNone, false, set<&RunConfig::no_join, 1>},
    {"-O", Match::exact, kValue, false, read_O},
    {"-OA", Match::exact, kValue, false, read_O},
    {"-OF", Match::exact, kValue, kNoDash, read_OF},
    {"-o", Match::exact, kNone, false, read_o},
    {"-Pfdups", Match::exact, kValue, kNoDash, read_Pfdups},
    {"-PN", Match::exact, kValue, false, read_PN},
    {"-PNU", Match::exact, kValue, false, read_PN},
    {"-p", Match::exact, kNone, false, read_p},
    {"-R", Match::exact, kNone, false, read_R},
    {"-S", Match::exact, kValue, false, read_symbology},
    {"-SH", Match::exact, kValue, false, read_SH},
    {"-Shape", Match::exact, kNone, false, read_Shape},
    {"-s", Match::exact, kNone, false, set<&RunConfig::delete_orig, 0>},
    {"-sa", Match::exact, kOptional, false, read_stroke<&RunConfig::stroke_arcs, &RunConfig::stra_tol>},
    {"-sb", Match::exact, kOptional, false, read_stroke<&RunConfig::stroke_bsplines, &RunConfig::strb_tol>},
    {"-sc", Match::exact, kOptional, false, read_stroke<&RunConfig::stroke_curves, &RunConfig::strc_tol>},
    {"-schema", Match::exact, kValue, false, skip},
    {"-U", Match::exact, kValue, false, read_U},
    {"-u", Match::exact, kValue, false, skip},
    {"-v", Match::exact, kValue, false, skip},
    {"-V", Match::exact, kValue, false, read_V},
    {"-W", Match::exact, kValue, false, read_W},
    {"-W3", Match::exact, kNone, false, set<&RunConfig::planar_3d_guard, 0>},
    {"-WM", Match::exact, kNone, false, read_WM},
    {"-WR", Match::exact, kValue, kNoDash, read_WR},
    {"-WZ", Match::exact, kNone, false, set<&RunConfig::weed_mode, 3>},
    {"-XY", Match::exact, kValue, false, read_XY},
    {"-Z", Match::exact, kValue, kNoDash, read_Z},
    {"-z3", Match::exact, kNone, false, set<&RunConfig::z_three, 1>},
    {"-zc", Match::exact, kValue, kNoDash, read_zc},
    {"-zd", Match::exact, kNone, false, set<&RunConfig::flip_chk, -3>},
    {"-zr", Match::exact, kNone, false, set<&RunConfig::flip_chk, -1>},
    {"-zu", Match::exact, kNone, false, set<&RunConfig::flip_chk, -2>},
    {"-z", Match::prefix, kNone, false, read_z},
});

bool matches(const OptionSpec& spec, std::string_view arg) {
  switch (spec.match) {
    case Match::exact: return arg == spec.spelling;
    case Match::prefix: return arg.starts_with(spec.spelling);
    case Match::longer: return arg.size() > spec.spelling.size() && arg.starts_with(spec.spelling);
  }
  return false;
}

const OptionSpec* find_option(std::string_view arg) {
  for (const OptionSpec& spec : kOptions) {
    if (matches(spec, arg)) return &spec;
  }
  return nullptr;
}

// Reads one option whose spec was found; `next` is the index of the argument
// after it and moves past whatever value the option consumes.
Verdict read_one(const OptionSpec& spec, OptionContext& ctx, std::span<const std::string_view> args,
                 std::size_t& next) {
  if (spec.takes == Takes::value) {
    if (next >= args.size()) {
      print(ctx.out, "\n%.*s needs a value", static_cast<int>(ctx.option.size()), ctx.option.data());
      return Verdict::improper();
    }
    ctx.value = args[next++];
    ctx.has_value = true;
  } else if (spec.takes == Takes::optional && next < args.size() && !args[next].starts_with('-')) {
    ctx.value = args[next++];
    ctx.has_value = true;
  }
  if (ctx.value.size() >= kArgumentBytes) {
    print(ctx.out, "\nvalue is too long (at most %zu characters)", kArgumentBytes - 1);
    return Verdict::improper();
  }
  if (spec.value_no_dash && ctx.value.starts_with('-')) return Verdict::improper();
  return spec.read(ctx);
}

}  // namespace

std::optional<int> read_options(std::span<const std::string_view> args, const RunEnvironment& env,
                                std::ostream& out, RunConfig& cfg, ReadState& state) {
  if (!args.empty()) cfg.taskname.assign_cut(args[0]);
  if (std::find(args.begin() + (args.empty() ? 0 : 1), args.end(), "-Q") != args.end()) diag = 2;
  if (diag) print(out, "\nTaskname=%s", cfg.taskname.c_str());

  std::size_t next = 1;
  while (next < args.size()) {
    const std::size_t position = next;
    const std::string_view arg = args[next++];
    // What the argument buffer holds: at most 255 characters.
    const std::string_view held = arg.substr(0, std::min(arg.size(), kArgumentBytes - 1));
    const int held_length = static_cast<int>(held.size());
    if (diag) print(out, "\nprocessing argument %d *%.*s*", static_cast<int>(position), held_length, held.data());
    if (!arg.starts_with('-')) {
      print(out, "\nImproper command syntax - arg %.*s\n", held_length, held.data());
      print_usage(out);
      return 1;
    }

    const OptionSpec* spec = arg.size() < kArgumentBytes ? find_option(arg) : nullptr;
    OptionContext ctx{cfg, state, env, out, arg, {}, false};
    const Verdict verdict = spec ? read_one(*spec, ctx, args, next) : Verdict::improper();
    if (verdict.kind == Verdict::Kind::improper) {
      print(out, "\nImproper Flag  - argument %.*s\n", held_length, held.data());
      print_usage(out);
      return verdict.status;
    }
    if (verdict.kind == Verdict::Kind::stop) return verdict.status;
  }
  return std::nullopt;
}

}  // namespace vornel::joiner
