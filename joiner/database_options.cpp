#include "joiner/database_options.h"

#include <algorithm>
#include <array>
#include <string>

#include "joiner/diag.h"
#include "joiner/level_rules.h"
#include "joiner/value_lists.h"
#include "joiner/value_syntax.h"

namespace vornel::joiner {

namespace {

// Copies QBT_dbName into dbName for the options that use the database.
bool load_db_name(OptionContext& ctx, bool cut_at_blank = false) {
  std::string name = ctx.env.text("QBT_dbName");
  if (cut_at_blank) name = name.substr(0, name.find(' '));
  return ctx.put(ctx.cfg.dbName, name, "QBT_dbName");
}

Verdict read_id_transfer(OptionContext& ctx, bool nodes_to_lines) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  if (nodes_to_lines) {
    print(ctx.out, "\nWill load node ids to linear from/to ids\n");
    cfg.id_n2l = 1;
  } else {
    print(ctx.out, "\nWill load linear from/to ids to node ids\n");
    cfg.id_l2n = 1;
  }
  cfg.db_needed = 1;
  cfg.lineEnt = to_int16(ctx.env.number("QBT_lineEnt"));
  cfg.nodeEnt = to_int16(ctx.env.number("QBT_nodeEnt"));
  if (!load_db_name(ctx) || !ctx.put(cfg.nodeTable, list.field(1), "node table") ||
      !ctx.put(cfg.IdCol, list.field(2), "node id column") ||
      !ctx.put(cfg.lineTable, list.field(3), "line table") ||
      !ctx.put(cfg.FromIdCol, list.field(4), "from id column") ||
      !ctx.put(cfg.ToIdCol, list.field(5), "to id column")) {
    return Verdict::improper();
  }
  if (list.rest(6).starts_with('N')) cfg.id_numeric = 1;
  return Verdict::accept();
}

}  // namespace

Verdict read_BD(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  cfg.brk_db = 1;
  cfg.db_needed = 1;
  cfg.curbrkTabEnt = to_int16(ctx.env.number("QBT_curbrktabent"));
  cfg.newbrkTabEnt = to_int16(ctx.env.number("QBT_newbrktabent"));
  if (!ctx.put(cfg.curbrkTabName, list.field(1), "current break table")) return Verdict::improper();
  if (cfg.newbrkTabEnt != 0) {
    if (!ctx.put(cfg.newbrkTabName, list.field(2), "new break table") ||
        !ctx.put(cfg.newbrkColKey, list.field(3), "new break key column")) {
      return Verdict::improper();
    }
  }
  cfg.ft_entnum = to_int16(ctx.env.number("QBT_ft_entnum"));
  if (!load_db_name(ctx, /*cut_at_blank=*/true)) return Verdict::improper();
  return Verdict::accept();
}

Verdict read_NV(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  cfg.nv_opt = 1;
  cfg.tableEnt = to_int16(ctx.env.number("QBT_tabent"));
  if (!load_db_name(ctx) || !ctx.put(cfg.colName, list.field(2), "column name")) {
    return Verdict::improper();
  }
  if (cfg.colName == "mslink") {
    cfg.nv_mslink = 1;
  } else {
    cfg.db_needed = 1;
  }
  cfg.NVfLev = to_int16(list.integer(3));
  if (cfg.NVfLev != 0) {
    cfg.NVfOpt = 1;
    cfg.NVfSize = positive_or(list.real(4), 5.0);
  }
  if (diag) {
    print(ctx.out, "\n-NV (compare column values) Option Selected\nwith colName=%s NVfLev=%d NVfSize=%.4f",
          cfg.colName.c_str(), cfg.NVfLev, cfg.NVfSize);
  }
  return Verdict::accept();
}

Verdict read_gdb(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  cfg.gg_match = 0;  // as -g; the third character is 'd', so no gg_zero
  cfg.gg_db = 1;
  cfg.ggTabEnt = to_int16(ctx.env.number("QBT_ggent"));
  const std::size_t comma = ctx.value.find(',');
  const std::string_view column =
      comma == std::string_view::npos ? std::string_view() : ctx.value.substr(comma + 1);
  if (!load_db_name(ctx) || !ctx.put(cfg.gg_col, column, "graphic group column")) {
    return Verdict::improper();
  }
  if (cfg.gg_col == "mslink") {
    cfg.gg_mslink = 1;
  } else {
    cfg.db_needed = 1;
  }
  return Verdict::accept();
}

Verdict read_fFrToID(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  cfg.flip_ids = 1;
  cfg.db_needed = 1;
  cfg.lineEnt = to_int16(ctx.env.number("QBT_lineEnt"));
  if (!load_db_name(ctx) || !ctx.put(cfg.lineTable, list.field(1), "line table") ||
      !ctx.put(cfg.FromIdCol, list.field(2), "from id column") ||
      !ctx.put(cfg.ToIdCol, list.field(3), "to id column")) {
    return Verdict::improper();
  }
  // Only the order code's first letter is read, so "DESC" may be cut.
  cfg.frto_order.assign_cut(list.field(4));
  cfg.SortColumnNumber = to_int16(c_atoi(list.rest(5)));
  return Verdict::accept();
}

Verdict read_fDbValue(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  cfg.flip_dbval = 1;
  cfg.db_needed = 1;
  cfg.lineEnt = to_int16(ctx.env.number("QBT_lineEnt"));
  if (!load_db_name(ctx) || !ctx.put(cfg.lineTable, list.field(1), "line table") ||
      !ctx.put(cfg.DbValCol, list.field(2), "value column")) {
    return Verdict::improper();
  }
  static constexpr std::array<std::string_view, 6> kOperators{"lt", "le", "eq", "ge", "gt", "ne"};
  const std::string_view op = list.field(3).substr(0, std::min<std::size_t>(2, list.field(3).size()));
  const auto found = std::find(kOperators.begin(), kOperators.end(), op);
  if (found == kOperators.end()) {
    print(ctx.out, "\nInvalid DbValOpt %.*s entered - try lt, le, eq, ge, gt, or ne\n",
          static_cast<int>(op.size()), op.data());
    return Verdict::stop(-1);
  }
  cfg.DbValOpt = static_cast<std::int16_t>(found - kOperators.begin() + 1);
  cfg.DbFlipVal = list.integer(4);
  cfg.db_reset_val = list.integer(5);
  return Verdict::accept();
}

Verdict read_PN(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  // New node rows are numbered from QBT_nodeNextOcc; without it they would
  // take mslink 0, which marks a line, not a node.
  const auto next = ctx.env.get("QBT_nodeNextOcc");
  if (!next) {
    print_missing_environment(ctx.out, "QBT_nodeNextOcc");
    return Verdict::stop(kMissingEnvironmentStatus);
  }
  cfg.node_opt = ctx.option == "-PNU" ? 2 : 1;
  cfg.db_needed = 1;
  cfg.nodeEnt = to_int16(ctx.env.number("QBT_nodeEnt"));
  cfg.linktype.assign_cut(ctx.env.text("QBT_linktype"));  // its first letter counts
  set_node_linkage(cfg);
  cfg.nodeNextOcc = c_atoi(*next);
  if (!load_db_name(ctx) || !ctx.put(cfg.nodeTable, list.field(2), "node table") ||
      !ctx.put(cfg.nodeIdCol, list.field(3), "node id column") ||
      !ctx.put(cfg.nodeCntCol, list.field(4), "node count column") ||
      !ctx.put(cfg.nodeXCol, list.field(5), "node X column") ||
      !ctx.put(cfg.nodeYCol, list.field(6), "node Y column")) {
    return Verdict::improper();
  }
  cfg.node_level = level_or(list.integer(1), kTopLevel);
  cfg.text_sym.class_word = 0;
  cfg.text_sym.spare = 0;
  cfg.text_sym.style = 0;
  print(ctx.out, "\nWill place nodes on level %d and insert records/data into %s\n", cfg.node_level,
        cfg.nodeTable.c_str());
  return Verdict::accept();
}

Verdict read_XY(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  cfg.lin_par_opt = 1;
  cfg.db_needed = 1;
  cfg.linEnt = to_int16(ctx.env.number("QBT_linent"));
  if (!load_db_name(ctx) || !ctx.put(cfg.linTable, list.field(1), "linear table") ||
      !ctx.put(cfg.slopeCol, list.field(2), "slope column") ||
      !ctx.put(cfg.distCol, list.field(4), "distance column") ||
      !ctx.put(cfg.fromXCol, list.field(6), "from X column") ||
      !ctx.put(cfg.fromYCol, list.field(7), "from Y column") ||
      !ctx.put(cfg.highZCol, list.field(8), "high Z column") ||
      !ctx.put(cfg.toXCol, list.field(10), "to X column") ||
      !ctx.put(cfg.toYCol, list.field(11), "to Y column") ||
      !ctx.put(cfg.lowZCol, list.field(12), "low Z column")) {
    return Verdict::improper();
  }
  const int slope_opt = list.integer(3);
  cfg.slope_opt = to_int16(slope_opt);
  cfg.dist_opt = list.integer(5) == 1 ? 1 : 2;
  cfg.highZ_opt = list.integer(9) == 1 ? 1 : 0;
  if (!cfg.slopeCol.empty() && (slope_opt < 1 || slope_opt > 4)) {
    print(ctx.out, "\nInvalid slope option:%d\n", slope_opt);
    return Verdict::stop(101);
  }
  return Verdict::accept();
}

Verdict read_ID_N2L(OptionContext& ctx) { return read_id_transfer(ctx, true); }
Verdict read_ID_L2N(OptionContext& ctx) { return read_id_transfer(ctx, false); }

}  // namespace vornel::joiner
