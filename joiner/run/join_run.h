// The state of one joiner run: the configuration, the values the set-up
// derives from the design file, the point table, the chain being built and
// the counters the summary reports. One JoinRun lives from start to exit.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "client/operations/operations.h"
#include "joiner/options/flag_state.h"
#include "joiner/options/flip_state.h"
#include "joiner/options/label_state.h"
#include "joiner/options/node_state.h"
#include "joiner/run/point_table.h"
#include "joiner/run_config.h"

namespace vornel::joiner {

// The run ends: every finish and every fatal error of the walk throws this
// with the process exit status, after printing its messages and cleaning up.
struct RunEnd {
  int status = 0;
};

inline constexpr std::int32_t kMaxChainVertices = 25000;  // MAXPTS
inline constexpr std::size_t kAttributeBufferWords = 770;  // 1,540 bytes
inline constexpr std::size_t kStrokeBufferBytes = 11120;
inline constexpr std::size_t kStrokeBufferInts = kStrokeBufferBytes / 4;

using Axes = std::array<double, 2>;

// Values derived from the design file and the options, fixed after set-up.
struct SetupValues {
  double uor_fact = 1.0;
  std::array<double, 3> global_origin{};
  std::array<std::int16_t, 2> gg_state{3, 0};
  Axes dangle_axes{}, join_flag_axes{}, mult_axes{}, dup_flag_axes{}, over_axes{}, split_axes{},
      nv_axes{};
  std::array<Axes, 4> sym_axes{};  // style, weight, colour, class
  Symbology flag_sym_join, flag_sym_dangle, flag_sym_over, flag_sym_multi, flag_sym_style,
      flag_sym_weight, flag_sym_color, flag_sym_class;
  std::int32_t over_size_uor = 0;
  std::int32_t over_dist_uor = 0;
  std::array<std::int32_t, 2> lab_text_size{};
  std::int32_t lab_dist_uor = 0;
  std::int32_t lab_space_uor = 0;
  std::array<std::int32_t, 2> lab_off_uor{};
  std::int16_t nv_col = 0, gg_col_no = 0, lab_col_no = 0, dxf_angle_col = 0, dxf_layer_col = 0,
               dxf_size_col = 0, dbval_col_no = 0, from_id_col_no = 0, to_id_col_no = 0,
               node_id_col_no = 0;
  bool design_open = false;
  bool db_attached = false;
};

// Counters of the processing stages, printed by the summary.
struct RunCounters {
  std::int32_t processed_elements = 0;
  std::int32_t point_elements = 0;
  std::int32_t deleted_elements = 0;
  std::int32_t written_elements = 0;
  std::int32_t progress_count = 0;
  std::int32_t chains_started = 0;  // chains started in the line passes
  std::int32_t labels_placed = 0;
  std::int32_t etak_moves = 0;
  std::int32_t line_ids_updated = 0;
  std::int32_t node_ids_updated = 0;
  std::int32_t dangle_count = 0, multi_join_count = 0, overshoot_count = 0, multi_value_count = 0,
               level_change_count = 0, style_change_count = 0, weight_change_count = 0,
               color_change_count = 0, class_change_count = 0;
  std::int32_t duplicate_vertices = 0;
  std::int32_t vertices_in = 0;
  std::int32_t vertices_out = 0;
  std::int32_t spikes = 0;
};

// An attribute buffer with its next free word.
struct LinkageSet {
  std::array<std::int16_t, kAttributeBufferWords> words{};
  std::int16_t next_free = 2;

  void clear() {
    words.fill(0);
    next_free = 2;
  }
};

// What the first element of a chain fixes for the whole chain.
struct ChainAttributes {
  std::int32_t low_z = 0;
  std::int32_t high_z = 0;
  std::uint16_t graphic_group = 0;
  std::array<std::int16_t, 2> placement{2, 0};  // placement mode, graphic group
  LinkageSet output_links;
  LinkageSet compare_links;
  std::string attribute_value;
  std::string label_text;
};

// The element read last, as the host returned it: three reply words, a spare
// word, then the element in memory form from byte 8.
struct ElementBuffer {
  static constexpr std::size_t kWords = 4 + 1024 + 8;
  std::array<std::uint16_t, kWords> record{};

  const std::uint8_t* element() const { return reinterpret_cast<const std::uint8_t*>(record.data() + 4); }
  std::uint8_t* element() { return reinterpret_cast<std::uint8_t*>(record.data() + 4); }
  std::span<const std::uint8_t> element_bytes() const { return {element(), (kWords - 4) * 2}; }
  std::uint16_t first_word() const { return record[4]; }
};

// The vertices the current element contributes, copied from the element or
// the stroke buffer, and how it is joined.
struct CurrentElement {
  int type_code = 0;
  std::int32_t linepts = 0;
  bool loop = false;
  std::int32_t position = 0;
  // Used vertices, dimen each: room for a stroked element or an expanded
  // complex chain (25,000 integers).
  std::array<std::int32_t, 25000> vertices{};
};

enum class Pass { first = 1, second = 2, ring = 3 };

struct JoinRun {
  JoinRun(RunConfig& config, std::ostream& console) : cfg(config), out(console) {}

  RunConfig& cfg;
  std::ostream& out;
  SetupValues setup;
  PointTable table;
  RunCounters counters;
  ElementBuffer element;
  CurrentElement current;
  ChainAttributes chain;

  // The chain buffer: vertindex is the index of its last vertex.
  std::array<std::int32_t, kMaxChainVertices * 3> chain_vertices{};
  std::int32_t vertindex = 0;

  // Option work, one member a kind.
  FlipState flip;
  FlagState flags;
  NodeState nodes;
  LabelState labels;

  // The position whose element the buffer holds for the chain start that
  // comes next, -1 when none (see read_element).
  std::int32_t element_read_ahead = -1;

  Pass pass = Pass::second;
  std::int16_t flip_elm = 0;
  std::int16_t out_status = 0;
  bool first_break_piece = true;  // the break-table first-piece marker
  std::int32_t break_mslink = 0;   // the chain's row in the current break table
  std::int32_t ring_start_position = 0;
  bool ring_break_noted = false;
  bool ring_walk_ending = false;

  int dimen() const { return cfg.dimen; }
  std::int32_t* vertex(std::int32_t index) { return chain_vertices.data() + index * cfg.dimen; }
};

}  // namespace vornel::joiner
