// Node points, node rows and identifier transfer between lines and nodes.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "client/database/database.h"
#include "client/session/session.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/engine/element_fields.h"
#include "joiner/engine/element_vertices.h"
#include "joiner/engine/join_engine.h"
#include "joiner/options/diagnostic_flags.h"
#include "joiner/options/option_hooks.h"
#include "joiner/options/row_update.h"
#include "toolkit/linkage/get_mslink.h"

namespace vornel::joiner {
namespace {

constexpr std::size_t kValueBytes = 256;


// What the records of one node say about node elements and line ends there.
struct NodeTally {
  int node_count = 0;
  int line_count = 0;
  std::int32_t node_mslink = 0;    // of the last node record
  std::int32_t common_mslink = 0;  // all node records' mslink, 0 when they differ
};

NodeTally tally(const PointTable& table, const Node& node) {
  NodeTally t;
  for (std::int32_t r = node.first; r < node.first + node.size; ++r) {
    const std::int32_t link = table.has_node_links() ? table.node_link(r) : 0;
    if (link < 1) {
      ++t.line_count;
      continue;
    }
    if (t.node_count == 0)
      t.common_mslink = link;
    else if (link != t.common_mslink)
      t.common_mslink = 0;
    ++t.node_count;
    t.node_mslink = link;
  }
  return t;
}

struct NodePlace {
  const std::int32_t* point = nullptr;  // UOR
  double x = 0;                         // master units
  double y = 0;
};

NodePlace place_of(const JoinRun& run, const Node& node) {
  NodePlace place;
  place.point = run.table.point(node.first);
  place.x = (place.point[0] - run.setup.global_origin[0]) / run.setup.uor_fact;
  place.y = (place.point[1] - run.setup.global_origin[1]) / run.setup.uor_fact;
  return place;
}

// Colour and weight tell the number of line ends at the node.
Symbology node_symbology(int line_count) {
  Symbology s;
  s.color = static_cast<std::int16_t>(line_count);
  s.weight = static_cast<std::int16_t>(line_count + 16);
  return s;
}

// Sends an update of one column of one row to `value`: bare for numeric ids,
// else quoted. A numeric id that is no number is refused rather than put
// into the statement as it stands.
bool update_id(JoinRun& run, const Name& table, const Name& column, const std::string& value,
               std::int32_t mslink) {
  if (run.cfg.id_numeric) {
    char* end = nullptr;
    std::strtod(value.c_str(), &end);
    const bool number = !value.empty() && *end == '\0' &&
                        value.find_first_not_of("0123456789+-.eE") == std::string::npos;
    const std::string statement = format_statement("update %s set %s=%s where mslink=%ld;", table.c_str(),
                                                   column.c_str(), value.c_str(), static_cast<long>(mslink));
    if (number) return send_row_update(run, table.c_str(), statement);
    print(run.out, "\nError updating row in %s: %s", table.c_str(), statement.c_str());
    return false;
  }
  return send_row_update(run, table.c_str(),
                         format_statement("update %s set %s='%s' where mslink=%ld;", table.c_str(), column.c_str(),
                                          quoted_literal(value).c_str(), static_cast<long>(mslink)));
}

// One column of one row as text; false, with the library's message, when
// it cannot be read.
bool read_column(JoinRun& run, std::int16_t entity, std::int32_t mslink, std::int16_t column, std::string& value) {
  std::array<char, kValueBytes> text{};
  std::int16_t status = 0;
  if (db_getfld(&entity, &mslink, &column, text.data(), &status) != 0) {
    print(run.out, "\nError %d reading column %d of row %ld (entity %d)\n", status, column, static_cast<long>(mslink),
          entity);
    run.out.flush();
    prt_error(&status);
    return false;
  }
  value.assign(text.data());
  if (diag) print(run.out, "\n entity=%d mslink=%ld column=%d value=%s", entity, static_cast<long>(mslink), column, text.data());
  return true;
}

// Reads the element of `record` into the element buffer; false when it
// cannot be read, so that no other element's linkage stands in for it.
bool read_record_element(JoinRun& run, std::int32_t record) {
  const std::int32_t position = std::abs(run.table.offset(record));
  const std::int16_t status = read_element(run, position);
  if (status != 0) {
    print(run.out, "\nrddfpi error(%d) at offset: %d - its ids are left alone", status, position);
    return false;
  }
  run.current.position = position;
  return true;
}

// The line row linked to the element in the buffer, 0 when none.
std::int32_t line_mslink(const JoinRun& run) {
  std::int32_t mslink = 0;
  toolkit::get_mslink(run.cfg.lineEnt, run.element.element_bytes(), &mslink);
  return mslink;
}

// 1 when the record lies at the first vertex of the element in the buffer
// (the line's "from" end), else 0.
int node_end_side(JoinRun& run, std::int32_t record) {
  const ElementFields e{run.element.element()};
  const int type = e.type();
  if (load_element_vertices(run, false) == VertexSource::unavailable) return 0;
  const std::int32_t* first = run.current.vertices.data();
  const std::int32_t* point = run.table.point(record);
  // Lines, line strings, shapes and unstroked curves compare X and Y only.
  const bool xy_only = type == 3 || type == 4 || type == 6 || (type == 11 && !run.cfg.stroke_curves);
  const bool same = first[0] == point[0] && first[1] == point[1] && (xy_only || run.dimen() == 2 || first[2] == point[2]);
  return same ? 1 : 0;
}

bool is_line_end(const PointTable& table, std::int32_t record) { return std::abs(table.offset(record)) != 1; }

void place_node(JoinRun& run, const NodeTally& t, const NodePlace& place) {
  RunConfig& cfg = run.cfg;
  ++run.nodes.nodes_placed;
  // The new row's mslink goes into the node linkage, low word first; a
  // database linkage marks its link value with a top byte of 1.
  const auto at = static_cast<std::size_t>(cfg.node_link_words);
  const auto next = static_cast<std::uint32_t>(cfg.nodeNextOcc);
  cfg.node_link[at] = static_cast<std::int16_t>(next & 0xFFFF);
  cfg.node_link[at + 1] = static_cast<std::int16_t>(next >> 16);
  if (cfg.linktype.front() == 'D') cfg.node_link[at + 1] = static_cast<std::int16_t>(cfg.node_link[at + 1] | 0x0100);

  const std::string insert = format_statement(
      "insert into %s(mslink,%s,%s,%s,%s) values (%ld,'%ld',%d,%.2lf,%.2lf);", cfg.nodeTable.c_str(),
      cfg.nodeIdCol.c_str(), cfg.nodeCntCol.c_str(), cfg.nodeXCol.c_str(), cfg.nodeYCol.c_str(),
      static_cast<long>(cfg.nodeNextOcc), static_cast<long>(cfg.nodeNextOcc), t.line_count, place.x, place.y);
  if (send_statement(insert) != 0) {
    print(run.out, "\nError inserting row into %s - values: %s", cfg.nodeTable.c_str(), insert.c_str());
    return;
  }

  const int d = run.dimen();
  std::array<std::int32_t, 6> points{};
  std::copy(place.point, place.point + d, points.begin());
  std::copy(place.point, place.point + d, points.begin() + d);
  const Symbology symbology = node_symbology(t.line_count);
  std::int16_t status = 0;
  lndfpi(run.chain.placement.data(), &cfg.node_level, &symbology, points.data(), &status, cfg.node_link.data());
  std::int16_t gg_status = 0;
  ggdfpi(run.setup.gg_state.data(), &gg_status);
  if (status != 0) print(run.out, "\nError %d placing POINT\n", status);

  ++cfg.nodeNextOcc;
  const std::string catalog = format_statement("update mscatalog set nextocc=%ld where tablename='%s';",
                                               static_cast<long>(cfg.nodeNextOcc), cfg.nodeTable.c_str());
  if (send_statement(catalog) != 0) print(run.out, "\nError updating row in mscatalog - values: %s", catalog.c_str());
}

void update_node_row(JoinRun& run, const NodeTally& t, const NodePlace& place) {
  const RunConfig& cfg = run.cfg;
  ++run.nodes.rows_updated;
  const std::string update = format_statement("update %s set %s=%d,%s=%.2lf,%s=%.2lf where mslink=%ld;",
                                              cfg.nodeTable.c_str(), cfg.nodeCntCol.c_str(), t.line_count,
                                              cfg.nodeXCol.c_str(), place.x, cfg.nodeYCol.c_str(), place.y,
                                              static_cast<long>(t.common_mslink));
  if (send_statement(update) != 0)
    print(run.out, "\nError updating row in %s - values: %s", cfg.nodeTable.c_str(), update.c_str());
}

// The lines' from/to ids at the node become the node's id, when they agree.
void line_ids_to_node(JoinRun& run, const Node& node, const NodeTally& t) {
  const RunConfig& cfg = run.cfg;
  std::string candidate;
  int taken = 0;
  bool consistent = true;
  for (std::int32_t r = node.first; r < node.first + node.size; ++r) {
    if ((run.table.has_node_links() && run.table.node_link(r) != 0) || !is_line_end(run.table, r)) continue;
    if (!read_record_element(run, r)) continue;
    const std::int32_t mslink = line_mslink(run);
    if (mslink == 0) continue;
    const bool from_end = node_end_side(run, r) == 1;
    std::string value;
    if (!read_column(run, cfg.lineEnt, mslink, from_end ? run.setup.from_id_col_no : run.setup.to_id_col_no, value))
      continue;
    if (value != candidate && taken > 0) {
      consistent = false;
      print(run.out,
            "\nFound conflicting id values of '%s' and '%s' at this node - will not perform update for this node\n",
            candidate.c_str(), value.c_str());
    }
    if (candidate.empty()) {
      candidate = value;
      ++taken;
    }
  }
  // No linked line at the node leaves its id as it is.
  if (!consistent || taken == 0) return;
  if (update_id(run, cfg.nodeTable, cfg.IdCol, candidate, t.node_mslink)) ++run.counters.node_ids_updated;
}

// The node's id becomes the from id of the lines that start at it and the
// to id of the lines that end there.
void node_id_to_lines(JoinRun& run, const Node& node, const NodeTally& t) {
  const RunConfig& cfg = run.cfg;
  std::string id;
  if (!read_column(run, cfg.nodeEnt, t.node_mslink, run.setup.node_id_col_no, id)) return;
  for (std::int32_t r = node.first; r < node.first + node.size; ++r) {
    if (!is_line_end(run.table, r) || !read_record_element(run, r)) continue;
    const std::int32_t mslink = line_mslink(run);
    if (mslink == 0) continue;
    const Name& column = node_end_side(run, r) == 1 ? cfg.FromIdCol : cfg.ToIdCol;
    if (update_id(run, cfg.lineTable, column, id, mslink)) ++run.counters.line_ids_updated;
  }
}

}  // namespace

void node_work(JoinRun& run, const Node& node) {
  const RunConfig& cfg = run.cfg;
  const NodeTally t = tally(run.table, node);
  const NodePlace place = place_of(run, node);
  if (t.node_count == 0) {
    if (cfg.node_opt) place_node(run, t, place);
    return;
  }
  if (t.node_count > 1 && t.common_mslink == 0) {
    if (diag && cfg.node_opt)
      print(run.out, "\nfound multiple nodes at X,Y = %.2f,%.2f  -  new node not placed", place.x, place.y);
    if (cfg.dup_flag > 0) {
      const Symbology symbology = node_symbology(t.line_count);
      place_flag(run, FlagKind::multiple_nodes, place.point, &symbology);
    }
    return;
  }
  if (cfg.node_opt == 2) update_node_row(run, t, place);
  if (cfg.id_l2n && t.node_mslink != 0) line_ids_to_node(run, node, t);
  if (cfg.id_n2l && t.node_mslink != 0) node_id_to_lines(run, node, t);
}

void finish_nodes(JoinRun& run) {
  const RunConfig& cfg = run.cfg;
  print(run.out, "\nplaced %d nodes on level %d\\updated %d node values\n", run.nodes.nodes_placed, cfg.node_level,
        run.nodes.rows_updated);
  const std::string catalog = format_statement("update mscatalog set nextocc=%ld where entitynum=%d;",
                                               static_cast<long>(cfg.nodeNextOcc), cfg.nodeEnt);
  if (send_statement(catalog) != 0) print(run.out, "\nError updating row in mscatalog - values: %s", catalog.c_str());
}

}  // namespace vornel::joiner
