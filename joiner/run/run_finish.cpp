#include "joiner/run/run_finish.h"

#include "client/database/database.h"
#include "client/session/session.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/options/option_hooks.h"

namespace vornel::joiner {
namespace {

void detach_database(JoinRun& run) {
  if (!run.setup.db_attached) return;
  std::int16_t status = 0;
  db_server_detach(&status);
  run.setup.db_attached = false;
}

void print_conversion(JoinRun& run, bool with_shapes) {
  const RunConfig& cfg = run.cfg;
  const RunCounters& c = run.counters;
  if (cfg.delete_orig && cfg.no_out_opt) {
    print(run.out, "\n  Deleted %d segments\n", c.deleted_elements);
    return;
  }
  if (cfg.no_out_opt != 0) return;
  const char* kind = nullptr;
  switch (cfg.out_type) {
    case -2: kind = with_shapes ? "shapes" : nullptr; break;
    case 0: kind = "curves"; break;
    case 2: kind = "B-splines"; break;
    case 1:
    case -1: kind = "line strings/lines"; break;
    default: break;
  }
  if (kind != nullptr)
    print(run.out, "\n  Converted %d segments into %d %s\n", c.processed_elements, c.written_elements,
          kind);
}

}  // namespace

void close_design(JoinRun& run) {
  if (!run.setup.design_open) return;
  const std::int16_t word = 0;
  run.out.flush();
  dedfpi(&word);
  run.setup.design_open = false;
}

void release_run(JoinRun& run) {
  detach_database(run);
  close_design(run);
  run.table.release();
}

void clean_up(JoinRun& run) {
  detach_database(run);
  close_design(run);
  print(run.out, "\n\n");
  run.table.release();
}

void print_summary(JoinRun& run, SummaryVariant variant) {
  const RunConfig& cfg = run.cfg;
  const RunCounters& c = run.counters;
  std::ostream& out = run.out;
  const bool normal = variant == SummaryVariant::normal;
  const bool early = variant == SummaryVariant::early;

  if (cfg.label_opt) print(out, "\n  Placed %d labels\n", c.labels_placed);
  if (cfg.etak && normal) print(out, "\n  Moved %d etak centroids\n", c.etak_moves);
  print_conversion(run, !early);
  if (c.line_ids_updated > 0)
    print(out, "\n  Updated %d %s/%s id values in the %s table using the %s values in the %s table\n",
          c.line_ids_updated, cfg.FromIdCol.c_str(), cfg.ToIdCol.c_str(), cfg.lineTable.c_str(),
          cfg.IdCol.c_str(), cfg.nodeTable.c_str());
  if (c.node_ids_updated > 0)
    print(out,
          "\n  Updated %d node id values in the %s table using the from/to id values in the %s table\n",
          c.node_ids_updated, cfg.nodeTable.c_str(), cfg.lineTable.c_str());
  if (cfg.NVfOpt)
    print(out, "\n  Identified %d multi-value lines and placed circles on level %d\n",
          c.multi_value_count, cfg.NVfLev);
  if (cfg.dangle_opt)
    print(out,
          normal ? "\n  Identified %d dangling endpoints and placed circles on level %d\n"
                 : "\n  Identified %d dangling lines and placed circles on level %d\n",
          c.dangle_count, cfg.d_level_out);
  if (cfg.dangle_flip != 0) print(out, "\n  Flipped %d dangling lines\n", cfg.dangle_flip - 1);
  if (cfg.join_flag > 0) print(out, "\n  Flagged %d possible join points\n", cfg.join_flag - 1);
  if (cfg.dup_flag > 0) print(out, "\n  Flagged %d multiple node points\n", cfg.dup_flag - 1);
  if (cfg.flip_dbval != 0)
    print(out, "\n  Flipped %d lines based on database values\n", cfg.flip_dbval - 1);
  if (cfg.flip_ids != 0)
    print(out, "\n  Flipped %d lines based on from/to id values\n", cfg.flip_ids - 1);
  if (cfg.multi_opt)
    print(out, "\n  Identified %d Multi-join lines and placed circles on level %d\n",
          c.multi_join_count, cfg.m_level_out);
  if (cfg.over_flag)
    print(out, "\n  Identified %d short overshoot elements and placed ellipses on level %d\n",
          c.overshoot_count, cfg.o_level_out);
  if (cfg.over_opt) print(out, "\n  Deleted %d short overshoot elements\n", c.overshoot_count);
  if (cfg.out_level_mode == 2)
    print(out,
          normal ? "\n  Identified %d multi-level lines and placed ellipses on level %d\n"
                 : "\n  Identified %d split level lines and placed ellipses on level %d\n",
          c.level_change_count, cfg.split_flag_level);
  if (cfg.sym_code[kStyle] == 2)
    print(out, "  Identified %d multi-style lines and placed ellipses on level %d\n",
          c.style_change_count, cfg.sym_flag_level);
  if (cfg.sym_code[kWeight] == 2)
    print(out, "  Identified %d multi-weight lines and placed ellipses on level %d\n",
          c.weight_change_count, cfg.sym_flag_level);
  if (cfg.sym_code[kColor] == 2)
    print(out, "  Identified %d multi-color lines and placed ellipses on level %d\n",
          c.color_change_count, cfg.sym_flag_level);
  if (cfg.sym_code[kClass] == 2)
    print(out, "  Identified %d multi-class lines and placed ellipses on level %d\n",
          c.class_change_count, cfg.sym_flag_level);
  if (cfg.weed_mode > 2 && c.duplicate_vertices >= 0 && cfg.w_angle >= 0)
    print(out, "\n  weeded %d zero length cords", c.duplicate_vertices);
  if (cfg.weed_mode == 4 && cfg.w_angle >= 0 && c.vertices_in > 0) {
    const long in = c.vertices_in;
    const long kept = c.vertices_out;
    print(out,
          "\n  initial vertices   = %ld\n  weeded vertices    = %ld\n  remaining vertices = "
          "%d\n\n  WEEDING reduced number of vertices by %.1f percent\n\n",
          in, in - kept, c.vertices_out, static_cast<double>(in - kept) * 100.0 / static_cast<double>(in));
  }
  if (cfg.zero_opt > 0 && cfg.zero_level < 1)
    print(out, "\n  deleted %d zero length lines", cfg.zero_opt - 2);
  if (cfg.zero_opt > 0 && cfg.zero_level >= 1)
    print(out, "\n  moved %d zero length lines to level %d", cfg.zero_opt - 1, cfg.zero_level);
  if (cfg.a_level != 0)
    print(out, "\n  Identified %d zingers-like lines and placed circles on level %d\n", c.spikes,
          cfg.a_level);
  out.flush();
}

void finish_run(JoinRun& run) {
  print(run.out, "\n\nQBT_vornel finishing ......\n");
  if (run.cfg.node_opt) finish_nodes(run);
  release_run(run);
  if (diag)
    print(run.out, "\n %d - %d = %d\n", run.counters.chains_started, run.counters.point_elements,
          run.counters.written_elements);
  print_summary(run, SummaryVariant::normal);
  throw RunEnd{0};
}

void finish_at_label_limit(JoinRun& run) {
  release_run(run);
  print_summary(run, SummaryVariant::early);
  throw RunEnd{1000};
}

void finish_after_error(JoinRun& run, int status) {
  if (status == 16) {
    if (run.cfg.node_opt) finish_nodes(run);
    release_run(run);
    print_summary(run, SummaryVariant::line_pass_error);
  } else {
    release_run(run);
    if (run.cfg.label_opt) print(run.out, "\n  Placed %d labels\n", run.counters.labels_placed);
    print_conversion(run, true);
    run.out.flush();
  }
  throw RunEnd{status};
}

}  // namespace vornel::joiner
