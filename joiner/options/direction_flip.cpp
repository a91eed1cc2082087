// Direction flips of written chains: compass, elevation, dangle, from/to
// identifiers and database values.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "client/database/database.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/options/option_hooks.h"
#include "joiner/options/row_update.h"
#include "toolkit/linkage/get_mslink.h"

namespace vornel::joiner {
namespace {

constexpr std::int16_t kCompass = 1;
constexpr std::int16_t kDangle = 2;  // the mode a dangle candidate's chain is decided by
constexpr std::int16_t kRising = -3;
constexpr std::int16_t kFalling = -2;

// The geometric rules look at the chain as the walk built it and say
// whether it must be written turned; no answer when the rule cannot tell
// (a chain along an axis, a level chain). Answering "keep" as well as "turn"
// matters: the walk may already want the chain turned back to its first
// reversed element's own direction, and the rule's outcome has to win.
std::optional<bool> compass_turn(JoinRun& run) {
  const std::int32_t* start = run.vertex(0);
  const std::int32_t* end = run.vertex(run.vertindex);
  const std::int64_t dx = std::int64_t{end[0]} - start[0];
  const std::int64_t dy = std::int64_t{end[1]} - start[1];
  // The azimuth lies strictly between 135 and 315 degrees exactly when
  // dx + dy < 0; on the boundary both directions are allowed, so the chain
  // keeps the direction it has.
  if (dx == 0 || dy == 0 || dx + dy == 0) return std::nullopt;
  return dx + dy < 0;
}

std::optional<bool> elevation_turn(JoinRun& run, std::int16_t mode) {
  if (run.cfg.dimen != 3) return std::nullopt;
  const std::int32_t start_z = run.vertex(0)[2];
  const std::int32_t end_z = run.vertex(run.vertindex)[2];
  if (start_z == end_z) return std::nullopt;
  return mode == kRising ? end_z < start_z : start_z < end_z;
}

// The dangle candidate's chain starts at the dangle point: it is turned to
// end there. One that the walk already turns ends there in its own
// direction and is not counted.
void dangle_turn(JoinRun& run) {
  FlipState& state = run.flip;
  const std::int32_t* start = run.vertex(0);
  if (start[0] != state.dangle_point[0] || start[1] != state.dangle_point[1]) return;
  if (run.flip_elm != 1) ++run.cfg.dangle_flip;
  run.flip_elm = 1;
  state.dangle_armed = false;
}

void decide_by_geometry(JoinRun& run) {
  // Dangle candidates belong to the first line pass; one whose record held
  // a point element started no chain and must not rule the chains after it.
  const bool dangle = run.flip.dangle_armed && run.pass == Pass::first;
  const std::int16_t mode = dangle ? kDangle : run.cfg.flip_chk;
  std::optional<bool> turn;
  if (mode == kDangle) {
    dangle_turn(run);
  } else if (mode == kCompass) {
    turn = compass_turn(run);
  } else if (mode == kRising || mode == kFalling) {
    turn = elevation_turn(run, mode);
  }
  if (turn) run.flip_elm = *turn ? 1 : 0;
  if (diag) print(run.out, "\nflip_chk = %d  flip_elm=%d", mode, run.flip_elm);
}

// One column of the chain's line row; empty when it cannot be read.
std::string line_value(JoinRun& run, std::int32_t mslink, std::int16_t column) {
  std::array<char, 256> text{};
  std::int16_t status = 0;
  db_getfld(&run.cfg.lineEnt, &mslink, &column, text.data(), &status);
  if (status != 0) {
    print(run.out, "\nError %d in db_getfld\n", status);
    return {};
  }
  return text.data();
}

// The statements differ in spacing between a write at the end of a walk and
// one at a break; both are kept as they are known.
const char* id_update_format(WriteReason reason) {
  return reason == WriteReason::end ? "update %s set %s = '%s' where mslink = %ld;"
                                    : "update %s set %s='%s' where mslink=%ld;";
}

const char* value_update_format(WriteReason reason) {
  return reason == WriteReason::end ? "update %s set %s = %d where mslink = %ld;"
                                    : "update %s set %s=%d where mslink=%ld;";
}

// Ordered from/to identifiers: each value is a text prefix of
// SortColumnNumber characters and a number after it.
bool identifiers_out_of_order(JoinRun& run, const std::string& from, const std::string& to) {
  const RunConfig& cfg = run.cfg;
  const bool ascending = cfg.frto_order.front() == 'A';
  const auto k = static_cast<std::size_t>(std::max<std::int16_t>(cfg.SortColumnNumber, 0));
  int prefix_order = 0;
  double from_number = 0;
  double to_number = 0;
  if (k > 0) {
    prefix_order = std::strncmp(from.c_str(), to.c_str(), k);
    from_number = std::atof(from.c_str() + std::min(k, from.size()));
    to_number = std::atof(to.c_str() + std::min(k, to.size()));
  }
  if (diag)
    print(run.out, "\nfrom=%s to=%s prefixes %.*s/%.*s numbers %g/%g", from.c_str(), to.c_str(),
          static_cast<int>(std::min(k, from.size())), from.c_str(), static_cast<int>(std::min(k, to.size())),
          to.c_str(), from_number, to_number);
  if (prefix_order != 0) return ascending ? prefix_order > 0 : prefix_order < 0;
  return ascending ? from_number > to_number : from_number < to_number;
}

bool flip_by_identifiers(JoinRun& run, std::int32_t mslink, WriteReason reason) {
  RunConfig& cfg = run.cfg;
  const std::string from = line_value(run, mslink, run.setup.from_id_col_no);
  const std::string to = line_value(run, mslink, run.setup.to_id_col_no);
  if (from.empty() || to.empty()) {
    if (diag) print(run.out, "\n Fr/ToLen = 0 - missing data so no flip evaluation");
    return false;
  }
  const bool turn = identifiers_out_of_order(run, from, to);
  if (turn) run.flip_elm = static_cast<std::int16_t>(run.flip_elm + 10);
  if (diag) print(run.out, "\nfr/to flip_elm=%d", run.flip_elm);
  if (!turn) return false;
  ++cfg.flip_ids;
  // The identifiers travel with the line's ends.
  const auto link = static_cast<long>(mslink);
  send_row_update(run, cfg.lineTable.c_str(),
                  format_statement(id_update_format(reason), cfg.lineTable.c_str(), cfg.FromIdCol.c_str(),
                                   quoted_literal(to).c_str(), link));
  send_row_update(run, cfg.lineTable.c_str(),
                  format_statement(id_update_format(reason), cfg.lineTable.c_str(), cfg.ToIdCol.c_str(),
                                   quoted_literal(from).c_str(), link));
  return true;
}

bool value_wants_flip(std::int16_t option, std::int32_t v, std::int32_t c) {
  switch (option) {
    case 1: return v < c;
    case 2: return v <= c;
    case 3: return v == c;
    case 4: return v >= c;
    case 5: return v > c;
    case 6: return v != c;
    default: return false;
  }
}

bool flip_by_value(JoinRun& run, std::int32_t mslink, WriteReason reason) {
  RunConfig& cfg = run.cfg;
  const std::string value = line_value(run, mslink, run.setup.dbval_col_no);
  // A row without a value says nothing about the line's direction.
  if (value.empty()) return false;
  const bool turn = value_wants_flip(cfg.DbValOpt, std::atoi(value.c_str()), cfg.DbFlipVal);
  if (turn) run.flip_elm = static_cast<std::int16_t>(run.flip_elm + 10);
  if (diag) print(run.out, "\ndbValue flip_elm=%d", run.flip_elm);
  if (!turn) return false;
  ++cfg.flip_dbval;
  send_row_update(run, cfg.lineTable.c_str(),
                  format_statement(value_update_format(reason), cfg.lineTable.c_str(), cfg.DbValCol.c_str(),
                                   cfg.db_reset_val, static_cast<long>(mslink)));
  return true;
}

// The database flips of the chain's line row; true when the chain is to be
// turned. Each flip is judged on the row as it was read, so a line either
// rule wants turned is turned once.
bool flip_by_row(JoinRun& run, WriteReason reason) {
  RunConfig& cfg = run.cfg;
  if (cfg.flip_ids <= 0 && cfg.flip_dbval <= 0) return false;
  // Without output no line is rewritten; a row turned on its own would no
  // longer match the element it belongs to.
  if (cfg.no_out_opt) return false;
  std::int32_t mslink = 0;
  if (toolkit::get_mslink_attrib(cfg.lineEnt, run.chain.output_links.words, &mslink) == 0) return false;
  bool turn = false;
  if (cfg.flip_ids > 0) turn = flip_by_identifiers(run, mslink, reason);
  if (cfg.flip_dbval > 0) turn = flip_by_value(run, mslink, reason) || turn;
  return turn;
}

}  // namespace

void note_dangle_candidate(JoinRun& run, const Node& node, std::int32_t record) {
  if (run.cfg.dangle_flip <= 0) return;
  FlipState& state = run.flip;
  state.dangle_armed = node.size == 1 && run.table.offset(record) > 0;
  if (!state.dangle_armed) return;
  const std::int32_t* point = run.table.point(record);
  state.dangle_point = {point[0], point[1]};
}

bool flip_chain(JoinRun& run, WriteReason reason) {
  // Whole pieces of a flush are cut from the front of the buffer and the
  // rest stays for the walk to go on from; a turned buffer would write the
  // walk's end and keep its start. A flushed part is written as walked and
  // the flip is judged on the part written last.
  if (reason == WriteReason::flush) return false;
  decide_by_geometry(run);
  bool reversed = false;
  if (run.flip_elm == 1) {
    reverse_chain(run);
    reversed = true;
  }
  if (flip_by_row(run, reason)) {
    reverse_chain(run);
    reversed = !reversed;
  }
  return reversed;
}

}  // namespace vornel::joiner
