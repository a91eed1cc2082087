// Circles and ellipses that mark places a user should look at.
#include "joiner/options/diagnostic_flags.h"

#include <array>
#include <cstdlib>
#include <span>

#include "joiner/console_print.h"
#include "joiner/engine/join_engine.h"
#include "joiner/engine/element_fields.h"
#include "joiner/options/option_hooks.h"
#include "toolkit/geometry/distance.h"

namespace vornel::joiner {
namespace {

struct FlagLook {
  std::int16_t level = 0;
  Axes axes{};
  Symbology symbology;
};

FlagLook look_of(const JoinRun& run, FlagKind kind) {
  const RunConfig& cfg = run.cfg;
  const SetupValues& v = run.setup;
  switch (kind) {
    case FlagKind::dangle:
    case FlagKind::multi_join: {
      Symbology dangle = v.flag_sym_dangle;
      if (run.flags.dangle_color) dangle.color = *run.flags.dangle_color;
      if (kind == FlagKind::dangle) return {cfg.d_level_out, v.dangle_axes, dangle};
      return {cfg.m_level_out, v.mult_axes, dangle};
    }
    case FlagKind::join_point: {
      Symbology join = v.flag_sym_join;
      join.color = run.flags.join_color;
      return {cfg.join_flag_level, v.join_flag_axes, join};
    }
    case FlagKind::overshoot: return {cfg.o_level_out, v.over_axes, v.flag_sym_over};
    case FlagKind::multi_value: return {cfg.NVfLev, v.nv_axes, v.flag_sym_multi};
    case FlagKind::level_change: return {cfg.split_flag_level, v.split_axes, v.flag_sym_multi};
    case FlagKind::style_change: return {cfg.sym_flag_level, v.sym_axes[kStyle], v.flag_sym_style};
    case FlagKind::weight_change: return {cfg.sym_flag_level, v.sym_axes[kWeight], v.flag_sym_weight};
    case FlagKind::color_change: return {cfg.sym_flag_level, v.sym_axes[kColor], v.flag_sym_color};
    case FlagKind::class_change: return {cfg.sym_flag_level, v.sym_axes[kClass], v.flag_sym_class};
    case FlagKind::multiple_nodes: return {cfg.dup_flag_level, v.dup_flag_axes, Symbology{}};
  }
  return {};
}

void raise_counter(JoinRun& run, FlagKind kind) {
  RunCounters& c = run.counters;
  switch (kind) {
    case FlagKind::dangle: ++c.dangle_count; break;
    case FlagKind::multi_join: ++c.multi_join_count; break;
    case FlagKind::join_point: ++run.cfg.join_flag; break;
    case FlagKind::overshoot: ++c.overshoot_count; break;
    case FlagKind::multi_value: ++c.multi_value_count; break;
    case FlagKind::level_change: ++c.level_change_count; break;
    case FlagKind::style_change: ++c.style_change_count; break;
    case FlagKind::weight_change: ++c.weight_change_count; break;
    case FlagKind::color_change: ++c.color_change_count; break;
    case FlagKind::class_change: ++c.class_change_count; break;
    case FlagKind::multiple_nodes: ++run.cfg.dup_flag; break;
  }
}

// The first record of the node that is not supplementary, or -1.
std::int32_t first_ordinary_record(const PointTable& table, const Node& node) {
  for (std::int32_t r = node.first; r < node.first + node.size; ++r)
    if (table.offset(r) != -1) return r;
  return -1;
}

}  // namespace

void place_flag(JoinRun& run, FlagKind kind, const std::int32_t* centre, const Symbology* symbology) {
  FlagLook look = look_of(run, kind);
  if (symbology != nullptr) look.symbology = *symbology;
  raise_counter(run, kind);
  std::int16_t status = 0;
  // Flags are never rotated: a circle has no direction and the ellipses are
  // read by their proportions only.
  if (run.dimen() == 3) {
    const std::array<double, 3> at{static_cast<double>(centre[0]), static_cast<double>(centre[1]),
                                   static_cast<double>(centre[2])};
    static constexpr std::array<double, 9> kIdentity{1, 0, 0, 0, 1, 0, 0, 0, 1};
    eldfp3(run.chain.placement.data(), &look.level, &look.symbology, look.axes.data(), at.data(), &status,
           nullptr, kIdentity.data());
  } else {
    const std::array<double, 2> at{static_cast<double>(centre[0]), static_cast<double>(centre[1])};
    const double rotation = 0.0;
    eldfpi(run.chain.placement.data(), &look.level, &look.symbology, look.axes.data(), at.data(), &rotation,
           &status, nullptr);
  }
  std::int16_t gg_status = 0;
  ggdfpi(run.setup.gg_state.data(), &gg_status);
  if (status != 0) print(run.out, "\nError %d placing ELLIPSE\n", status);
}

void node_flags(JoinRun& run, const Node& node, std::int32_t record) {
  const RunConfig& cfg = run.cfg;
  const PointTable& table = run.table;
  if (run.pass == Pass::first && cfg.dangle_opt && node.size == 1 && node.supplementary == 0) {
    // The dangling element has not been read yet: read it now, so that the
    // flag takes its own colour; a chain starting there takes it from the
    // buffer without a second read.
    const std::int32_t offset = table.offset(record);
    if (read_element(run, std::abs(offset), offset > 0) == 0) {
      const ElementFields e{run.element.element()};
      // A lone text or cell is no line end.
      if (is_point_element(e.type())) return;
      run.flags.dangle_color = static_cast<std::int16_t>(e.color());
    }
    place_flag(run, FlagKind::dangle, table.point(record));
  }
  if (run.pass == Pass::second && cfg.multi_opt && node.size > 2 && record == first_ordinary_record(table, node))
    place_flag(run, FlagKind::multi_join, table.point(record));
}

void join_point_flag(JoinRun& run, const std::int32_t* node_point) {
  run.flags.join_color = static_cast<std::int16_t>(ElementFields{run.element.element()}.color());
  place_flag(run, FlagKind::join_point, node_point);
}

void mismatch_flags(JoinRun& run, const std::int32_t* node_point, const std::string& candidate_value) {
  const RunConfig& cfg = run.cfg;
  const ElementFields candidate{run.element.element()};
  if (cfg.nv_opt && cfg.NVfOpt && candidate_value != run.chain.attribute_value)
    place_flag(run, FlagKind::multi_value, node_point);
  if (cfg.out_level_mode == 2 && candidate.level() != cfg.out_level)
    place_flag(run, FlagKind::level_change, node_point);
  static constexpr std::array<FlagKind, 4> kChangeFlags{FlagKind::style_change, FlagKind::weight_change,
                                                        FlagKind::color_change, FlagKind::class_change};
  const std::array<int, 4> values{candidate.style(), candidate.weight(), candidate.color(),
                                  candidate.element_class()};
  for (std::size_t i = 0; i < kChangeFlags.size(); ++i)
    if (cfg.sym_code[i] == 2 && values[i] != cfg.sym_value[i]) place_flag(run, kChangeFlags[i], node_point);
}

void overshoot_flag(JoinRun& run, std::int32_t start, std::int32_t last) {
  const int dimen = run.dimen();
  const std::span<const std::int32_t> piece(run.vertex(start), static_cast<std::size_t>((last + 1) * dimen));
  if (toolkit::tot_distance(last + 1, piece, static_cast<std::int16_t>(dimen)) < run.setup.over_dist_uor)
    place_flag(run, FlagKind::overshoot, run.vertex(start));
}

}  // namespace vornel::joiner
