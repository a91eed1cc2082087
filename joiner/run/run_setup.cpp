#include "joiner/run/run_setup.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "client/database/database.h"
#include "client/session/session.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/run/run_finish.h"

namespace vornel::joiner {
namespace {

constexpr int kNameWidth = 20;
constexpr int kNameCount = 64;

[[noreturn]] void stop(int status) { throw RunEnd{status}; }

// Reads a TCB value of up to four bytes; returns its low 16 bits as signed.
bool read_tcb_word(const char* name, std::int16_t& value, std::int16_t& status) {
  std::int32_t raw = 0;
  const std::int16_t words = 2;
  status = 0;
  rdtcbasc(name, &words, &raw, &status);
  value = static_cast<std::int16_t>(raw & 0xFFFF);
  return status == 0;
}

bool read_tcb_double(const char* name, double& value, std::int16_t& status) {
  const std::int16_t words = 4;
  status = 0;
  value = 0;
  rdtcbasc(name, &words, &value, &status);
  return status == 0;
}

// Symbology preset: class, style, weight, colour.
Symbology preset(std::int32_t element_class, std::int16_t style, std::int16_t weight,
                 std::int16_t color) {
  Symbology s;
  s.element_class = element_class;
  s.style = style;
  s.weight = weight;
  s.color = color;
  return s;
}

// The column names of the table of `entity`; a failure prints `failure`
// (with the status and, for node/line tables, the table name), the
// library's text, cleans up and stops with 89.
struct ColumnList {
  std::array<char, kNameWidth * kNameCount> names{};
};

void list_columns(JoinRun& run, std::int16_t entity, ColumnList& list, const char* failure,
                  const char* table_name = nullptr) {
  if (diag) print(run.out, "\n Getting column names and data");
  const std::int16_t width = kNameWidth;
  const std::int16_t count = kNameCount;
  std::int16_t status = 0;
  list.names.fill('\0');
  db_fldname(&entity, &width, &count, list.names.data(), &status);
  if (status != 0) {
    if (table_name != nullptr)
      print(run.out, failure, status, table_name);
    else
      print(run.out, failure, status);
    run.out.flush();
    prt_error(&status);
    clean_up(run);
    stop(89);
  }
}

// The number of column `wanted`; a missing column stops with 90.
std::int16_t require_column(JoinRun& run, const ColumnList& list, const char* wanted, bool whole = false,
                            const char* missing = nullptr) {
  const int found = find_column(list.names.data(), kNameWidth, kNameCount, wanted, whole);
  if (found == 0) {
    if (missing != nullptr)
      print(run.out, "%s", missing);
    else
      print(run.out, "\n Field name %s not found in table", wanted);
    clean_up(run);
    stop(90);
  }
  if (diag) print(run.out, "\n table-Field name %s found in table field #%d", wanted, found);
  return static_cast<std::int16_t>(found);
}

// Looks a wanted column up unless its name is empty.
void take_column(JoinRun& run, const ColumnList& list, const Name& wanted, std::int16_t& column) {
  if (wanted.empty()) return;
  column = require_column(run, list, wanted.c_str());
}

void check_column(JoinRun& run, const ColumnList& list, const Name& wanted) {
  if (wanted.empty()) return;
  require_column(run, list, wanted.c_str());
}

void print_env(JoinRun& run, const char* format, const char* name) {
  const char* value = std::getenv(name);
  print(run.out, format, value != nullptr ? value : "");
}

void attach_database(JoinRun& run) {
  RunConfig& cfg = run.cfg;
  SetupValues& v = run.setup;
  std::int16_t status = 0;
  db_server_attach(&status);
  if (status != 0) {
    print(run.out, "\nError %d in db_server_attach\n", status);
    run.out.flush();
    prt_error(&status);
    clean_up(run);
    stop(87);
  }
  v.db_attached = true;
  if (diag) {
    print(run.out, "\n db server attached");
    print_env(run, "\n QBT_dbName=%s", "QBT_dbName");
    print_env(run, "\n MS_SERVER=%s", "MS_SERVER");
    print_env(run, "\n MS_DBEXT=%s", "MS_DBEXT");
    print_env(run, "\n MS_DBASE=%s", "MS_DBASE");
    print_env(run, "\n MS_DGNAPPS=%s", "MS_DGNAPPS");
    print_env(run, "\n MS_LINKTYPE=%s", "MS_LINKTYPE");
  }

  std::array<char, 64> request{};
  std::memcpy(request.data(), cfg.dbName.c_str(), cfg.dbName.view().size());
  std::int32_t length = static_cast<std::int32_t>(cfg.dbName.view().size() + 1);
  const std::int32_t define = 5;
  db_std_request(request.data(), &define, &length, &status);
  if (status != 0) {
    print(run.out, "\nError %d in DB-Define connecting to dbname=%s\n", status, cfg.dbName.c_str());
    run.out.flush();
    prt_error(&status);
    clean_up(run);
    stop(88);
  }

  ColumnList list;
  if (cfg.nv_opt) {
    list_columns(run, cfg.tableEnt, list, "\nError %d in db_fldname\n");
    take_column(run, list, cfg.colName, v.nv_col);
  }
  if (cfg.gg_db) {
    list_columns(run, cfg.ggTabEnt, list, "\nError %d in gg_fldname\n");
    take_column(run, list, cfg.gg_col, v.gg_col_no);
  }
  if (cfg.label_opt && !cfg.lab_mslink && !cfg.lab_zee) {
    list_columns(run, cfg.labEnt, list, "\nError %d in db_fldname\n");
    take_column(run, list, cfg.labCol, v.lab_col_no);
    if (cfg.labCol == "dxf_text") {
      print(run.out, "\nLabel values will be read from the database");
      v.dxf_angle_col =
          require_column(run, list, "dxf_angle", true, "\n Field name dxf_angle not found in table");
      v.dxf_layer_col =
          require_column(run, list, "dxf_layer", true, "\n Field name dxf_layer not found in table");
      v.dxf_size_col =
          require_column(run, list, "dxf_size", true, "\n Field name dxf_size not found in table");
    }
  }
  if (cfg.brk_db) {
    std::array<char, 32> mode{"NEW"};
    std::int32_t mode_length = 4;
    const std::int32_t linkage_mode = 23;
    db_std_request(mode.data(), &linkage_mode, &mode_length, &status);
    if (status != 0) print(run.out, "\nError %d in setting linkage mode", status);
    if (cfg.newbrkTabEnt != 0) {
      list_columns(run, cfg.newbrkTabEnt, list, "\nError %d in db_fldname\n");
      check_column(run, list, cfg.newbrkColKey);
    }
  }
  const char* failure_for_table = "\nError %d in db_fldname for table %s\n";
  if (cfg.node_opt) {
    list_columns(run, cfg.nodeEnt, list, failure_for_table, cfg.nodeTable.c_str());
    for (const Name* wanted : {&cfg.nodeIdCol, &cfg.nodeCntCol, &cfg.nodeXCol, &cfg.nodeYCol})
      check_column(run, list, *wanted);
  }
  if (cfg.flip_dbval) {
    list_columns(run, cfg.lineEnt, list, failure_for_table, cfg.lineTable.c_str());
    take_column(run, list, cfg.DbValCol, v.dbval_col_no);
  }
  if (cfg.id_n2l || cfg.id_l2n || cfg.flip_ids) {
    list_columns(run, cfg.lineEnt, list, failure_for_table, cfg.lineTable.c_str());
    take_column(run, list, cfg.FromIdCol, v.from_id_col_no);
    take_column(run, list, cfg.ToIdCol, v.to_id_col_no);
  }
  if (cfg.id_n2l || cfg.id_l2n) {
    list_columns(run, cfg.nodeEnt, list, failure_for_table, cfg.nodeTable.c_str());
    take_column(run, list, cfg.IdCol, v.node_id_col_no);
  }
  if (cfg.lin_par_opt) {
    list_columns(run, cfg.linEnt, list, failure_for_table, cfg.linTable.c_str());
    for (const Name* wanted : {&cfg.slopeCol, &cfg.distCol, &cfg.fromXCol, &cfg.fromYCol,
                               &cfg.highZCol, &cfg.toXCol, &cfg.toYCol, &cfg.lowZCol})
      check_column(run, list, *wanted);
  }
}

}  // namespace

int find_column(const char* names, int width, int count, const char* wanted, bool whole) {
  const std::size_t length = std::strlen(wanted);
  for (int i = 0; i < count; ++i) {
    const char* name = names + static_cast<std::ptrdiff_t>(i) * width;
    const std::size_t name_length = strnlen(name, static_cast<std::size_t>(width));
    if (name_length == 0) continue;
    if (name_length < length || std::strncmp(name, wanted, length) != 0) continue;
    if (whole && name_length != length) continue;
    return i + 1;
  }
  return 0;
}

void set_flag_presets(SetupValues& v) {
  v.flag_sym_join = preset(0, 0, 1, 0);
  v.flag_sym_dangle = preset(0, 0, 1, 3);
  v.flag_sym_over = preset(0, 2, 2, 5);
  v.flag_sym_multi = preset(0, 0, 2, 4);
  v.flag_sym_style = preset(0, 1, 0, 0);
  v.flag_sym_weight = preset(0, 0, 2, 0);
  v.flag_sym_color = preset(0, 0, 0, 2);
  v.flag_sym_class = preset(0, 0, 0, 0);
}

void convert_sizes(RunConfig& cfg, SetupValues& v, std::ostream& out) {
  const double f = v.uor_fact;
  cfg.ras_pixel = static_cast<std::int32_t>(cfg.ras_pixel * f);
  for (auto& word : cfg.centroid_text_size) word = static_cast<std::int32_t>(word * f);
  cfg.w_dist = static_cast<float>(cfg.w_dist * f);
  cfg.w_length = static_cast<float>(cfg.w_length * f);
  cfg.flgSize *= f;

  const double d = cfg.dangle_size * f;
  v.dangle_axes = {d, d};
  cfg.dangle_size = d;
  const double j = cfg.join_flag_size * f;
  v.join_flag_axes = {j, j};
  cfg.join_flag_size = j;
  const double m = cfg.mult_size * f;
  v.mult_axes = {m, m};
  cfg.mult_size = static_cast<float>(m);
  const double p = cfg.dup_flag_size * f;
  v.dup_flag_axes = {p, 1.2 * p};
  cfg.dup_flag_size = static_cast<float>(p);

  if (cfg.label_opt) {
    const auto size = static_cast<std::int32_t>(cfg.labSize * f + 0.5);
    v.lab_text_size = {size, size};
    v.lab_dist_uor = static_cast<std::int32_t>(cfg.labDist * f);
    v.lab_space_uor = static_cast<std::int32_t>(cfg.labSpace * f);
    v.lab_off_uor = {static_cast<std::int32_t>(cfg.labOff.x * f),
                     static_cast<std::int32_t>(cfg.labOff.y * f)};
  }

  const double o = cfg.over_size * f;
  v.over_axes = {o, 1.5 * o};
  v.over_size_uor = static_cast<std::int32_t>(o);
  v.over_dist_uor = static_cast<std::int32_t>(cfg.over_dist * f);
  if (v.over_dist_uor == 0) v.over_dist_uor = 1;

  const double s = cfg.split_flag_size * f;
  v.split_axes = {0.75 * s, 1.25 * s};
  cfg.split_flag_size = static_cast<std::int32_t>(s);
  const double n = cfg.NVfSize * f;
  v.nv_axes = {1.25 * n, n};
  cfg.NVfSize = n;
  const double y = cfg.sym_flag_size * f;
  v.sym_axes = {Axes{y, y}, Axes{0.8 * y, 0.8 * y}, Axes{0.6 * y, 0.6 * y}, Axes{0.4 * y, 0.4 * y}};
  cfg.sym_flag_size = static_cast<std::int32_t>(y);
  for (int i = 1; i <= cfg.brk_count && i <= kMaxBreakIntervals; ++i) cfg.brk_min_len[i] *= f;

  set_flag_presets(v);

  if (cfg.stroke_arcs) {
    if (cfg.stra_tol > 0) {
      cfg.stra_tol *= f;
      print(out, "\n Arc stroking tolerance = %lf uors", cfg.stra_tol);
    } else {
      print(out, "\n Arc stroking tolerance determined for you");
    }
  }
  if (cfg.stroke_curves) {
    if (cfg.strc_tol > 0) {
      cfg.strc_tol *= f;
      print(out, "\n Curve stroking tolerance = %lf uors", cfg.strc_tol);
    } else {
      print(out, "\n Curve stroking tolerance determined for you");
    }
  }
  if (cfg.stroke_bsplines) {
    if (cfg.strb_tol > 0)
      cfg.strb_tol *= f;
    else
      print(out, "\n B-Spline stroking tolerance determined for you");
  }
}

void set_up_run(JoinRun& run) {
  RunConfig& cfg = run.cfg;
  SetupValues& v = run.setup;
  print(run.out, "\n\nOpening dgnfilename %s\n", cfg.dgnname.c_str());
  run.out.flush();
  std::int16_t status = 0;
  const std::int16_t mode = 1;
  indfpi(nullptr, cfg.dgnname.c_str(), nullptr, nullptr, &mode, nullptr, &status, nullptr);
  if (status != 0) {
    print(run.out, "\nError opening %s", cfg.dgnname.c_str());
    stop(8);
  }
  v.design_open = true;
  print(run.out, "\n\n%s has been opened\n", cfg.dgnname.c_str());

  std::int16_t word = 0;
  if (!read_tcb_word("GRAFIC", word, status)) {
    print(run.out, "\n*** tcb read error %d on GRAFIC ***", status);
    stop(9);
  }
  v.gg_state = {3, word};
  if (diag) print(run.out, "\n\nGRAFIC=%d\n\n", word);

  std::int16_t dimension = 0;
  if (!read_tcb_word("NDICES", dimension, status)) {
    print(run.out, "\n*** tcb read error %d *** on NDICES ***", status);
    stop(9);
  }
  if (dimension != cfg.dimen) {
    print(run.out,
          "\nQBT_vornel exiting .....\nAttempt to process a design file (%s)\n             of an "
          "inconsistent dimension\n",
          cfg.dgnname.c_str());
    close_design(run);
    run.table.release();
    stop(10);
  }
  if (cfg.dimen == 3 && cfg.weed_mode != 0 && cfg.weed_mode != 3 && cfg.planar_3d_guard) {
    print(run.out,
          "\nQBT_vornel exiting .....\nAttempt to weed a 3d design file (%s) with a 2d option and "
          "no override switch(-W3)\nPverride with this switch ONLY if data in 3d file is planar on "
          "the z-axis\n\n",
          cfg.dgnname.c_str());
    run.table.release();
    close_design(run);
    stop(20);
  }

  if ((cfg.dimen == 3 && cfg.contour_opt) || cfg.lin_par_opt || cfg.node_opt || cfg.w_angle < 0) {
    static constexpr const char* kNames[3] = {"GOXUOR", "GOYUOR", "GOZUOR"};
    for (int axis = 0; axis < 3; ++axis) {
      if (!read_tcb_double(kNames[axis], v.global_origin[static_cast<std::size_t>(axis)], status)) {
        print(run.out, "\n*** tcb (%s) read error %d ***\n", kNames[axis], status);
        stop(24 + axis);
      }
    }
    if (diag)
      print(run.out, "\nglobal values = %lf, %lf, %lf", v.global_origin[0], v.global_origin[1],
            v.global_origin[2]);
  }

  std::int16_t subunits = 0;
  std::int16_t uors = 0;
  if (!read_tcb_word("EU.MU", subunits, status)) {
    print(run.out, "\n*** tcb read error %d ***", status);
    stop(11);
  }
  if (!read_tcb_word("EU.UOR", uors, status)) {
    print(run.out, "\n*** tcb read error %d ***", status);
    stop(12);
  }
  v.uor_fact = static_cast<double>(static_cast<std::uint32_t>(subunits * uors));
  if (diag) print(run.out, "\nuor_fact=%lf", v.uor_fact);

  convert_sizes(cfg, v, run.out);
  if (cfg.db_needed || cfg.lab_db) attach_database(run);
}

}  // namespace vornel::joiner
