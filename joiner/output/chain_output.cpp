#include "joiner/output/chain_output.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "client/operations/operations.h"
#include "client/session/session.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/options/option_hooks.h"
#include "joiner/output/break_table_row.h"
#include "joiner/output/shape_centroid.h"
#include "joiner/run/run_finish.h"
#include "toolkit/geometry/distance.h"
#include "toolkit/output/output_data.h"
#include "toolkit/slopebreak/slope_break.h"
#include "toolkit/weed/raster_weed.h"
#include "toolkit/weed/weed_data.h"

namespace vornel::joiner {
namespace {

std::span<std::int32_t> chain_span(JoinRun& run) { return {run.chain_vertices.data(), run.chain_vertices.size()}; }

bool line_pass(const JoinRun& run) { return run.pass != Pass::ring; }

// Weeding mode 3 and 4: a vertex equal to its successor goes; the last stays.
void drop_duplicates(JoinRun& run, std::int32_t& last) {
  const int d = run.cfg.dimen;
  std::int32_t kept = 0;
  for (std::int32_t i = 0; i < last; ++i) {
    const std::int32_t* v = run.vertex(i);
    const std::int32_t* next = run.vertex(i + 1);
    if (std::equal(v, v + d, next)) {
      print(run.out, "\nDuplicate vertice weeded at %ld, %ld", static_cast<long>(v[0]), static_cast<long>(v[1]));
      ++run.counters.duplicate_vertices;
      continue;
    }
    if (kept != i) std::copy(v, v + d, run.vertex(kept));
    ++kept;
  }
  std::copy(run.vertex(last), run.vertex(last) + d, run.vertex(kept));
  last = kept;
}

void weed(JoinRun& run, std::int32_t& last) {
  RunConfig& cfg = run.cfg;
  if (cfg.weed_mode == 1 && cfg.dimen == 2) {
    toolkit::extend_verts(&last, chain_span(run), cfg.ras_pixel);
    if (last > 2) toolkit::weed_ras_verts(&last, chain_span(run), cfg.ras_pixel);
  }
  if ((cfg.weed_mode == 3 || cfg.weed_mode == 4) && last > 1) drop_duplicates(run, last);
  if (cfg.weed_mode == 4) {
    RunCounters& c = run.counters;
    const auto weeder = cfg.dimen == 3 ? toolkit::weed_data3d : toolkit::weed_data;
    weeder(chain_span(run), &last, cfg.w_dist, cfg.w_length, &cfg.w_angle, diag, &c.vertices_in,
           &c.vertices_out, cfg.a_level, cfg.flgSize, &c.spikes, run.setup.uor_fact,
           run.setup.global_origin.data(), nullptr);
  }
}

toolkit::BreakIntervals break_intervals(const RunConfig& cfg) {
  toolkit::BreakIntervals intervals;
  intervals.brk_count = cfg.brk_count;
  for (int i = 1; i <= std::min<int>(cfg.brk_count, kMaxBreakIntervals); ++i) {
    const auto at = static_cast<std::size_t>(i - 1);
    intervals.brk_min_pct[at] = cfg.brk_min_pct[i];
    intervals.brk_max_pct[at] = cfg.brk_max_pct[i];
    intervals.brk_limit[at] = cfg.brk_limit[i];
    intervals.brk_min_len[at] = cfg.brk_min_len[i];
  }
  return intervals;
}

// Contour colouring: a piece whose elevation is a multiple of the interval
// gets the contour colour (or the next rainbow colour) and a heavier weight.
void colour_contour(JoinRun& run, std::int32_t s) {
  RunConfig& cfg = run.cfg;
  if (cfg.dimen != 3 || !cfg.contour_opt || cfg.contour_interval == 0) return;
  const auto e = static_cast<long>((run.vertex(s)[2] - run.setup.global_origin[2]) / run.setup.uor_fact);
  if (e % cfg.contour_interval != 0) return;
  if (cfg.contour_color == -1)
    cfg.sym_value[kColor] = cfg.rainbow++;
  else
    cfg.sym_value[kColor] = cfg.contour_color;
  ++cfg.sym_value[kWeight];
}

bool skip_piece(JoinRun& run, std::int32_t s, std::int32_t n) {
  const RunConfig& cfg = run.cfg;
  if (!line_pass(run)) return cfg.no_out_opt != 0;
  const bool o = cfg.over_opt != 0;
  const bool d = cfg.no_out_opt != 0;
  if (!o && !d) return false;
  const int dim = cfg.dimen;
  const std::span<const std::int32_t> piece(run.vertex(s), static_cast<std::size_t>((n + 1) * dim));
  const bool short_piece =
      toolkit::tot_distance(n + 1, piece, static_cast<std::int16_t>(dim)) < run.setup.over_dist_uor;
  const bool pass1 = run.pass == Pass::first;
  const bool pass2 = run.pass == Pass::second;
  return (!pass1 || !o || d || short_piece) && (!pass2 || !o || d);
}

// Places one piece; returns the index, relative to s, of its last vertex written.
std::int32_t place_piece(JoinRun& run, std::int32_t s, std::int32_t n, WriteReason reason) {
  RunConfig& cfg = run.cfg;
  if (diag)
    print(run.out, "\nwriting chain piece - pass %d - over_opt=%d - no_out_opt=%d", static_cast<int>(run.pass),
          cfg.over_opt, cfg.no_out_opt);
  if (cfg.rainbow > 0) cfg.sym_value[kColor] = cfg.rainbow++;
  if (cfg.shape_centroid && run.current.type_code == 6) place_shape_centroid(run, s, n, reason);
  if (cfg.z_three && cfg.dimen == 3) {
    const std::int32_t z = cfg.z_zero ? static_cast<std::int32_t>(
                                            static_cast<std::int32_t>(0 - run.setup.global_origin[2]) /
                                            run.setup.uor_fact)
                                      : run.vertex(0)[2];
    for (std::int32_t i = s; i <= s + n; ++i) run.vertex(i)[2] = z;
  }
  Symbology symbology;
  symbology.element_class = cfg.sym_value[kClass];
  symbology.style = cfg.sym_value[kStyle];
  symbology.weight = cfg.sym_value[kWeight];
  symbology.color = cfg.sym_value[kColor];
  run.out.flush();
  const std::span<const std::int32_t> piece(run.vertex(s), static_cast<std::size_t>((n + 1) * cfg.dimen));
  const std::int32_t tail = toolkit::output_data(
      n, piece, static_cast<std::int16_t>(reason == WriteReason::flush ? 1 : 0), cfg.complex_out,
      static_cast<std::int16_t>(cfg.out_type), &run.counters.written_elements, &cfg.zero_opt, cfg.zero_level,
      cfg.out_level, run.chain.placement.data(), run.chain.output_links.words, &symbology, cfg.max_out_verts,
      cfg.dimen, &cfg.flip_chk, run.chain.low_z, run.chain.high_z, run.table.count(), diag, &run.out_status);
  std::int16_t gg_status = 0;
  ggdfpi(run.setup.gg_state.data(), &gg_status);
  if (run.out_status != 0) {
    print(run.out, "\nQBT_vornel exiting abnormally .....\ndesign file write error (%d)\n\n", run.out_status);
    run.out.flush();
    prt_error(&run.out_status);
    run.table.release();
    close_design(run);
    throw RunEnd{199};
  }
  return tail;
}

}  // namespace

void reverse_chain(JoinRun& run) {
  const int d = run.cfg.dimen;
  for (std::int32_t a = 0, b = run.vertindex; a < b; ++a, --b)
    std::swap_ranges(run.vertex(a), run.vertex(a) + d, run.vertex(b));
}

void write_chain(JoinRun& run, WriteReason reason) {
  RunConfig& cfg = run.cfg;
  std::int32_t last = run.vertindex;
  weed(run, last);
  run.vertindex = last;
  if (!(reason == WriteReason::flush && line_pass(run))) run.first_break_piece = true;
  // The node the walk stands at; a flip may move it to the front of the buffer.
  std::array<std::int32_t, 3> node{};
  std::copy(run.vertex(run.vertindex), run.vertex(run.vertindex) + cfg.dimen, node.begin());

  const bool slope_breaks = cfg.brk_count >= 1;
  const toolkit::BreakIntervals intervals = slope_breaks ? break_intervals(cfg) : toolkit::BreakIntervals{};
  std::int32_t s = 0;
  std::int32_t remaining = run.vertindex;
  std::int32_t tail = 0;
  bool reversed = false;
  // Slope pieces are cut from one buffer, so a chain that is cut is turned
  // once, before cutting, and its pieces follow the written direction.
  if (slope_breaks && line_pass(run)) reversed = flip_chain(run, reason);
  while (s < run.vertindex) {
    std::int32_t n = run.vertindex;
    if (slope_breaks) {
      std::int16_t interval_color = 0;
      const std::span<const std::int32_t> rest(run.vertex(s), static_cast<std::size_t>((remaining + 1) * cfg.dimen));
      toolkit::slope_break(rest, remaining, &intervals, &n, &interval_color, diag);
      n = std::clamp(n, 1, std::max(remaining, 1));
      remaining -= n;
      if (cfg.brk_color) cfg.sym_value[kColor] = interval_color;
      if (cfg.curbrkTabEnt != 0) add_break_table_row(run);
      if (diag) print(run.out, "\nBreakVert=%d of %d", n, remaining + n);
    }
    colour_contour(run, s);
    if (line_pass(run)) {
      if (run.pass == Pass::first && cfg.over_flag) overshoot_flag(run, s, n);
      if (!slope_breaks && flip_chain(run, reason)) reversed = !reversed;
    }
    if (cfg.label_opt) label_piece(run, s, n, reason);
    if (cfg.lin_par_opt) write_linear_parameters(run, s, n);
    if (skip_piece(run, s, n)) {
      if (line_pass(run) && cfg.over_opt) ++run.counters.overshoot_count;
      if (reason == WriteReason::flush) tail = run.vertindex;
    } else {
      tail = s + place_piece(run, s, n, reason);
    }
    s = slope_breaks ? s + n : run.vertindex;
  }

  const int d = cfg.dimen;
  switch (reason) {
    case WriteReason::flush: {
      // A chain written turned goes back to the walk's direction.
      if (reversed) reverse_chain(run);
      tail = std::clamp(tail, 0, run.vertindex);
      const std::int32_t count = run.vertindex - tail + 1;
      std::copy(run.vertex(tail), run.vertex(tail) + static_cast<std::ptrdiff_t>(count) * d, run.vertex(0));
      run.vertindex = count - 1;
      break;
    }
    case WriteReason::break_:
      std::copy(node.begin(), node.begin() + d, run.vertex(0));
      run.vertindex = 0;
      break;
    case WriteReason::end:
      break;
  }
}


}  // namespace vornel::joiner
