#include "joiner/engine/join_engine.h"

#include <algorithm>
#include <cstdlib>

#include "client/operations/operations.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/engine/chain_attributes.h"
#include "joiner/engine/element_fields.h"
#include "joiner/engine/element_vertices.h"
#include "joiner/options/option_hooks.h"
#include "joiner/output/chain_output.h"
#include "joiner/run/run_finish.h"

namespace vornel::joiner {
namespace {

[[noreturn]] void stop(JoinRun& run, int status) {
  run.out.flush();
  throw RunEnd{status};
}

bool element_deleted(const JoinRun& run) { return ElementFields{run.element.element()}.deleted(); }
bool element_is_point(const JoinRun& run) {
  return is_point_element(ElementFields{run.element.element()}.type());
}

void negate(JoinRun& run, std::int32_t record) {
  std::int32_t& offset = run.table.offset(record);
  if (offset > 0) offset = -offset;
}

bool same_point(const JoinRun& run, const std::int32_t* a, const std::int32_t* b) {
  return a[0] == b[0] && a[1] == b[1] && (run.cfg.dimen == 2 || a[2] == b[2]);
}

void copy_point(JoinRun& run, std::int32_t* to, const std::int32_t* from) {
  std::copy(from, from + run.cfg.dimen, to);
}

// An element whose vertices cannot be had stays in the file as it is.
void keep_unjoinable(JoinRun& run, std::int32_t record) {
  print(run.out, "\nElement of type %d at offset %d left as it is: its vertices cannot be read",
        ElementFields{run.element.element()}.type(), std::abs(run.table.offset(record)));
  negate(run, record);
}

void report_progress(JoinRun& run) {
  RunCounters& c = run.counters;
  c.progress_count += 2;
  if (c.progress_count % run.table.progress_step() != 0) return;
  int percent = 0;
  if (run.table.count() > 0) {
    percent = static_cast<int>(static_cast<double>(c.progress_count) / run.table.count() * 100 + 0.5);
    percent = std::min(percent, 100);
  }
  print(run.out, "\n%5d Points Processed - %3d Percent Complete", c.progress_count, percent);
}

// Steps 1 to 6 of a walk iteration: progress, capacity, the direction the
// current element is appended in, and the append itself.
void append_current(JoinRun& run, bool& first_reversal, bool first_of_chain) {
  report_progress(run);
  const std::int32_t linepts = run.current.linepts;
  if (linepts + run.vertindex > kMaxChainVertices ||
      (run.cfg.complex_out && linepts + run.vertindex > run.cfg.maxpts_c))
    write_chain(run, WriteReason::flush);
  if (run.vertindex == 0) first_reversal = true;
  run.flip_elm = 0;
  const int d = run.cfg.dimen;
  const std::int32_t* v = run.current.vertices.data();
  const bool flip_pt = !same_point(run, v, run.vertex(run.vertindex));
  if (flip_pt && first_reversal) {
    run.flip_elm = 1;
    first_reversal = false;
  }
  // A tail that still does not leave room ends the chain here, whole.
  if (run.vertindex + linepts > kMaxChainVertices) write_chain(run, WriteReason::break_);
  const std::int32_t b = run.vertindex;
  if (diag) print(run.out, "\nTransfering %d vertices - flip_pt = %d", linepts, flip_pt ? 1 : 0);
  for (std::int32_t m = 0; m < linepts; ++m) {
    const std::int32_t source = flip_pt ? linepts - 1 - m : m;
    std::copy(v + source * d, v + source * d + d, run.vertex(b + m));
  }
  run.vertindex = b + linepts - 1;
  if (diag) print(run.out, "\nTransfer complete - vertindex = %d - find next segment", run.vertindex);
  if (run.cfg.etak && first_of_chain) move_etak_centroids(run, flip_pt);
}

void delete_current(JoinRun& run) {
  if (!run.cfg.delete_orig) return;
  const std::int32_t block = run.current.position / 512;
  const auto byte = static_cast<std::int16_t>(run.current.position % 512);
  const std::int16_t flags = 0;
  std::int16_t status = 0;
  delete_element(&block, &byte, &flags, &status);
  if (status != 0) print(run.out, "\nError deleting segment at %d/%d", block, byte);
  ++run.counters.deleted_elements;
}

// The record of the current element at the chain's last vertex: r + 1 for a
// start element that is a loop, else found by bisection.
std::int32_t end_record(JoinRun& run, std::int32_t start_record, bool start_element) {
  if (start_element && run.current.loop && start_record + 1 < run.table.count() &&
      std::abs(run.table.offset(start_record + 1)) == run.current.position)
    return start_record + 1;
  return find_end_record(run.table, run.vertex(run.vertindex), run.current.position);
}

// Step 12: the candidate in the element buffer becomes the current element;
// false when its vertices cannot be had and the walk ends.
bool take_candidate(JoinRun& run, std::int32_t record) {
  negate(run, record);
  if (load_element_vertices(run, false) == VertexSource::unavailable) {
    keep_unjoinable(run, record);
    return false;
  }
  merge_linkages(run);
  ++run.counters.processed_elements;
  return true;
}

// A failed join test: the chain so far is written with its own attributes,
// the changes are flagged, and the candidate's attributes rule from here.
void restart_after_break(JoinRun& run, const std::int32_t* node_point, const CandidateValues& candidate) {
  write_chain(run, WriteReason::break_);
  mismatch_flags(run, node_point, candidate.attribute_value);
  capture_chain_attributes(run);
}

// Begins a chain at record r; false when no chain starts there.
bool start_chain(JoinRun& run, std::int32_t r) {
  const std::int32_t position = run.table.offset(r);
  const std::int16_t status = read_element(run, position);
  if (status != 0) {
    print(run.out, "\n(2) rddfpi error(%d) - element %d at offset: %d", status, r, position);
    stop(run, 15);
  }
  if (element_deleted(run)) {
    print(run.out,
          "\nAbnormal Exit\n(1) read deleted element at %ld - check currency of input data\n",
          static_cast<long>(position));
    stop(run, 22);
  }
  if (element_is_point(run)) {
    negate(run, r);
    ++run.counters.point_elements;
    if (run.cfg.label_opt) label_point_element(run);
    return false;
  }
  run.current.position = position;
  if (load_element_vertices(run, true) == VertexSource::unavailable) {
    keep_unjoinable(run, r);
    return false;
  }
  capture_chain_attributes(run);
  run.vertindex = 0;
  copy_point(run, run.vertex(0), run.table.point(r));
  negate(run, r);
  ++run.counters.processed_elements;
  ++run.counters.chains_started;
  return true;
}

void walk_chain(JoinRun& run, std::int32_t r) {
  bool join_pt = true;
  bool first_reversal = true;
  bool start_element = true;
  while (join_pt) {
    append_current(run, first_reversal, start_element);
    const std::int32_t aindex = end_record(run, r, start_element);
    start_element = false;
    if (aindex < 0) {
      print(run.out, "\nError finding end of segment location at offset[%d] = %d\nAbnormal Exit from QBT_vornel",
            r, run.table.offset(r));
      finish_after_error(run, 16);
    }
    const auto [s_index, e_index] = node_bounds(run.table, aindex);
    delete_current(run);
    negate(run, aindex);
    if (e_index - s_index != 1) {
      if (diag) print(run.out, "\n  next point is not a join point ...");
      break;
    }
    const std::int32_t c = aindex == s_index ? e_index : s_index;
    const std::int32_t position = run.table.offset(c);
    if (position <= 0 || run.cfg.dangle_flip) break;
    const std::int16_t status = read_element(run, position);
    if (status != 0) {
      print(run.out, "\n(3) rddfpi error(%d) at offset: %d", status, position);
      stop(run, 23);
    }
    if (element_deleted(run)) {
      print(run.out,
            "\nAbnormal Exit\n(2) read deleted element at %ld - check currency of input data\n",
            static_cast<long>(position));
      stop(run, 21);
    }
    run.current.position = position;
    if (element_is_point(run)) {
      negate(run, c);
      ++run.counters.point_elements;
      break;
    }
    CandidateValues candidate;
    read_candidate_values(run, candidate);
    // The node point is the chain's last vertex; a flush or break keeps it.
    std::array<std::int32_t, 3> node_point{};
    copy_point(run, node_point.data(), run.vertex(run.vertindex));
    if (join_test(run, candidate) != 0) {
      if (run.cfg.join_flag) join_point_flag(run, node_point.data());
    } else {
      restart_after_break(run, node_point.data(), candidate);
    }
    if (!take_candidate(run, c)) break;
  }
  write_chain(run, WriteReason::end);
}

// The ring pass walk from record r.
void walk_ring(JoinRun& run, std::int32_t r) {
  const std::int32_t position = run.table.offset(r);
  std::int16_t status = read_element(run, position);
  if (status != 0) {
    print(run.out, "\n(4) rddfpi error - element %d at offset: %d", r, position);
    stop(run, 17);
  }
  if (element_deleted(run)) {
    print(run.out, "\nAbnormal Exit\n(4) read deleted element at %ld - check currency of input data",
          static_cast<long>(position));
    stop(run, 20);
  }
  if (element_is_point(run)) {
    negate(run, r);
    ++run.counters.point_elements;
    return;
  }
  run.current.position = position;
  if (load_element_vertices(run, false) == VertexSource::unavailable) {
    keep_unjoinable(run, r);
    return;
  }
  ++run.counters.processed_elements;
  capture_chain_attributes(run);
  run.current.loop = r + 1 < run.table.count() && run.table.offset(r + 1) == position;
  run.vertindex = 0;
  copy_point(run, run.vertex(0), run.table.point(r));
  run.ring_start_position = position;
  std::array<std::int32_t, 3> ring_start{};
  copy_point(run, ring_start.data(), run.table.point(r));
  negate(run, r);
  bool break_noted = false;

  bool join_pt = true;
  bool first_reversal = true;
  bool start_element = true;
  while (join_pt) {
    append_current(run, first_reversal, start_element);
    if (same_point(run, run.vertex(run.vertindex), ring_start.data())) join_pt = false;
    const std::int32_t aindex = end_record(run, r, start_element);
    start_element = false;
    if (aindex < 0) {
      delete_current(run);
      break;
    }
    const auto [s_index, e_index] = node_bounds(run.table, aindex);
    delete_current(run);
    negate(run, aindex);
    if (!join_pt) break;
    if (e_index - s_index != 1) break;
    std::int32_t c = aindex == s_index ? e_index : s_index;
    std::int32_t candidate_position = run.table.offset(c);
    if (candidate_position <= 0) break;
    status = read_element(run, candidate_position);
    if (status != 0) {
      print(run.out, "\n(5) rddfpi error at offset: %d", candidate_position);
      stop(run, 22);
    }
    if (element_deleted(run)) {
      print(run.out, "\nAbnormal Exit\n(4) read deleted element at %ld - check currency of input data",
            static_cast<long>(candidate_position));
      stop(run, 19);
    }
    run.current.position = candidate_position;

    std::array<std::int32_t, 3> node_point{};
    copy_point(run, node_point.data(), run.vertex(run.vertindex));
    CandidateValues candidate;
    const bool point = element_is_point(run);
    if (!point) read_candidate_values(run, candidate);
    bool passes = false;
    if (point || (!break_noted && join_test(run, candidate, false) == 0)) {
      // First break: turn round and continue from the chain's start.
      if (diag) print(run.out, "\nBreak in loop found - %d vertices so far", run.vertindex + 1);
      if (point) negate(run, c);
      if (!run.cfg.no_join) {
        break_noted = true;
        reverse_chain(run);
      }
      const std::int32_t back = find_end_record(run.table, run.vertex(run.vertindex), run.ring_start_position);
      if (back < 0) {
        print(run.out, "\nError finding end of segment location at offset[%d] = %d\nAbnormal Exit from QBT_vornel",
              r, run.table.offset(r));
        finish_after_error(run, 18);
      }
      negate(run, back);
      const auto [bs, be] = node_bounds(run.table, back);
      if (be - bs != 1) break;
      c = back == bs ? be : bs;
      candidate_position = run.table.offset(c);
      if (candidate_position <= 0) {
        if (element_is_point(run)) ++run.counters.point_elements;
        break;
      }
      status = read_element(run, candidate_position);
      if (status != 0) print(run.out, "\n(6) rddfpi error at offset: %d", candidate_position);
      if (element_deleted(run)) {
        print(run.out, "\nAbnormal Exit\n(5) read deleted element at %ld - check currency of input data",
              static_cast<long>(candidate_position));
        stop(run, 29);
      }
      if (status != 0 || element_is_point(run)) {
        if (element_is_point(run)) {
          negate(run, c);
          ++run.counters.point_elements;
        }
        break;
      }
      run.current.position = candidate_position;
      copy_point(run, node_point.data(), run.vertex(run.vertindex));
      read_candidate_values(run, candidate);
      passes = join_test(run, candidate) != 0;
    } else {
      if (run.cfg.join_flag) join_point_flag(run, node_point.data());
      passes = join_test(run, candidate) != 0;
    }
    if (!passes) {
      // Second break: the chain so far is written and restarts here.
      run.ring_start_position = candidate_position;
      break_noted = false;
      restart_after_break(run, node_point.data(), candidate);
    }
    if (!take_candidate(run, c)) break;
  }
  write_chain(run, WriteReason::end);
}

}  // namespace

std::int16_t read_element(JoinRun& run, std::int32_t position, bool kept_for_chain_start) {
  // The node flags read a dangling element just before its chain starts
  // there: that read serves the start too, so each element is read once.
  if (run.element_read_ahead == position) {
    run.element_read_ahead = -1;
    return 0;
  }
  run.element_read_ahead = -1;
  const std::int32_t block = position / 512;
  const auto byte = static_cast<std::int16_t>(position % 512);
  const std::int16_t raw = 0;
  std::int16_t status = 0;
  rddfpi(&block, &byte, &raw, run.element.record.data(), &status);
  if (status == 0 && kept_for_chain_start) run.element_read_ahead = position;
  return status;
}

void scan_nodes(JoinRun& run, Pass pass) {
  run.pass = pass;
  PointTable& table = run.table;
  const RunConfig& cfg = run.cfg;
  std::int32_t i = 0;
  while (i < table.count()) {
    if (cfg.label_opt && cfg.label_limit_opt && run.counters.labels_placed > cfg.label_limit)
      finish_at_label_limit(run);
    const Node node = form_node(table, i);
    const std::int32_t n = node.size;
    const std::int32_t k = node.supplementary;
    if (pass == Pass::second && k < n && (cfg.id_n2l || cfg.id_l2n || cfg.node_opt)) node_work(run, node);
    const bool processed =
        (pass == Pass::first && n == 1 && k == 0) || (pass == Pass::second && n + k != 2);
    if (processed) {
      for (std::int32_t r = node.first; r < node.first + n; ++r) {
        if (pass == Pass::first) note_dangle_candidate(run, node, r);
        node_flags(run, node, r);
        if (table.offset(r) > 0 && start_chain(run, r)) walk_chain(run, r);
      }
    }
    i += n;
  }
}

void walk_rings(JoinRun& run) {
  run.pass = Pass::ring;
  std::int32_t i = 0;
  while (i < run.table.count()) {
    const Node node = form_node(run.table, i);
    if (node.size == 2)
      for (std::int32_t r = node.first; r < node.first + 2; ++r)
        if (run.table.offset(r) > 0) walk_ring(run, r);
    i += node.size;
  }
}

void run_join_passes(JoinRun& run) {
  if (run.cfg.first_pass == 1) scan_nodes(run, Pass::first);
  scan_nodes(run, Pass::second);
  walk_rings(run);
}

}  // namespace vornel::joiner
