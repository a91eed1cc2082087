// RunConfig: the joiner's run configuration, filled once from the command
// line and the environment and read by every later stage of a run.
// Field names follow the option descriptions users and scripts know them by.
#pragma once

#include <array>
#include <cstdint>

#include "joiner/fixed_text.h"

namespace vornel::joiner {

// Limits of the record's text buffers (buffer sizes, terminating zero included).
inline constexpr std::size_t kArgumentBytes = 256;
inline constexpr std::size_t kNameBytes = 20;
inline constexpr std::size_t kDbNameBytes = 32;
inline constexpr std::size_t kLinkTypeBytes = 12;
inline constexpr std::size_t kDgnNameBytes = 60;
inline constexpr std::size_t kPpidBytes = 6;
inline constexpr std::size_t kPtsNameBytes = 16;
inline constexpr std::size_t kOrderBytes = 4;
inline constexpr std::size_t kElementItemBytes = 8;
inline constexpr int kMaxBreakIntervals = 10;

using Name = FixedText<kNameBytes>;

// Index of the four symbology attributes in sym_mode, sym_value, sym_code.
inline constexpr int kStyle = 0;
inline constexpr int kWeight = 1;
inline constexpr int kColor = 2;
inline constexpr int kClass = 3;

// Symbology modes of -S.
inline constexpr std::int16_t kSymSame = -1;      // s: join equal values only
inline constexpr std::int16_t kSymFlag = -2;      // f: as s, and flag changes
inline constexpr std::int16_t kSymOriginal = -3;  // o: join regardless, keep first

// Text node parameters handed to text node placement: a 16-bit word, a 32-bit
// word, the 16-bit value 10 and the centroid's own parameter (12 bytes).
struct TextNodeParams {
  std::int16_t lead = 0;
  std::int32_t node_number = 0;
  std::int16_t max_length = 0;
  std::int16_t param = 0;
};

// Text symbology record: class, a spare word, style, weight, colour, and two
// trailing words, the layout the text placement operations take.
struct TextSymbology {
  std::int16_t class_word = 0;
  std::int16_t spare = 0;
  std::int16_t style = 0;
  std::int16_t weight = 0;
  std::int16_t color = 0;
  std::array<std::int16_t, 2> tail{};
};

struct Offset2 {
  double x = 0;
  double y = 0;
};

struct RunConfig {
  // Files and run identity.
  FixedText<kArgumentBytes> taskname;
  std::int16_t diag_from = 0;
  FixedText<kDgnNameBytes> dgnname;  // "-" until -F or -U names the file
  FixedText<kPpidBytes> ppid;
  std::int16_t dimen = 0;
  std::int32_t maxverts = 0;
  FixedText<kPtsNameBytes> ptsname;
  FixedText<kDbNameBytes> dbName;
  std::int16_t db_needed = 0;
  std::int16_t first_pass = 2;

  // Output.
  std::int16_t out_level = 0;
  std::int16_t out_level_mode = 0;
  std::int16_t split_flag_level = 0;
  std::int32_t split_flag_size = 1;
  std::int32_t delete_orig = 1;
  std::int16_t no_out_opt = 0;
  std::int32_t out_type = 1;
  std::int16_t complex_out = 0;
  std::int16_t maxpts_c = 0;
  std::int16_t max_out_verts = 0;
  std::array<std::int16_t, 4> sym_mode{kSymSame, kSymSame, kSymSame, kSymSame};
  std::array<std::int16_t, 4> sym_value{};
  std::array<std::int16_t, 4> sym_code{};
  std::int16_t sym_flag_level = 0;
  std::int32_t sym_flag_size = 1;
  std::int16_t rainbow = 0;
  double angShift = 0;

  // Joining rules.
  std::int16_t no_join = 0;
  std::int16_t gg_match = 1;
  std::int16_t gg_zero = 0;
  std::int16_t gg_db = 0;
  std::int16_t ggTabEnt = 0;
  Name gg_col;
  std::int16_t gg_mslink = 0;
  std::int16_t z_match = 1;
  std::int16_t z_zero = 0;
  std::int16_t z_three = 0;
  std::int16_t keep_attr = 1;
  std::int16_t ft_entnum = 0;
  std::int32_t remove_attr = 0;
  std::int16_t attr_all_match = 0;
  std::int16_t attr_ft_match = 0;
  std::int16_t attr_ft_ent = 0;

  // Diagnostic flags placed in the design file; sizes in master units.
  std::int16_t join_flag = 0;
  std::int16_t join_flag_level = 0;
  double join_flag_size = 0;
  std::int16_t dangle_opt = 0;
  std::int16_t d_level_out = 0;
  double dangle_size = 0;
  std::int16_t multi_opt = 0;
  std::int16_t m_level_out = 0;
  float mult_size = 0;
  std::int16_t over_opt = 0;
  std::int16_t over_flag = 0;
  double over_dist = 0;
  std::int16_t o_level_out = 0;
  double over_size = 0;
  std::int16_t dup_flag = 0;
  std::int16_t dup_flag_level = 0;
  float dup_flag_size = 0;
  std::int16_t zero_opt = 0;
  std::int16_t zero_level = 63;
  std::int16_t nv_opt = 0;
  std::int16_t tableEnt = 0;
  Name colName;
  std::int16_t nv_mslink = 0;
  std::int16_t NVfOpt = 0;
  std::int16_t NVfLev = 0;
  double NVfSize = 0;

  // Weeding, stroking and slope breaks.
  std::int16_t weed_mode = 0;
  std::int32_t ras_pixel = 5;
  float w_dist = 0;
  float w_length = 0;
  float w_angle = 0;
  std::int16_t a_level = 0;
  double flgSize = 0;
  std::int16_t planar_3d_guard = 1;
  std::int16_t stroke_arcs = 0;
  std::int16_t stroke_bsplines = 0;
  std::int16_t stroke_curves = 0;
  double stra_tol = -1.0;
  double strb_tol = -1.0;
  double strc_tol = -1.0;
  std::int16_t brk_count = 0;
  NumberedArray<float, kMaxBreakIntervals> brk_min_pct;
  NumberedArray<float, kMaxBreakIntervals> brk_max_pct;
  NumberedArray<float, kMaxBreakIntervals> brk_limit;
  NumberedArray<double, kMaxBreakIntervals> brk_min_len;
  std::int16_t brk_color = 0;
  std::int16_t brk_db = 0;
  std::int16_t curbrkTabEnt = 0;
  std::int16_t newbrkTabEnt = 0;
  Name curbrkTabName;
  Name newbrkTabName;
  Name newbrkColKey;
  std::int16_t contour_opt = 0;
  std::int16_t contour_interval = 0;
  std::int16_t contour_color = 0;

  // Flipping.
  std::int16_t flip_chk = 0;
  std::int16_t flip_ids = 0;
  std::int16_t flip_dbval = 0;
  std::int16_t dangle_flip = 0;
  std::int16_t lineEnt = 0;
  Name lineTable;
  Name FromIdCol;
  Name ToIdCol;
  FixedText<kOrderBytes> frto_order;
  std::int16_t SortColumnNumber = 0;
  Name DbValCol;
  std::int16_t DbValOpt = 0;
  std::int32_t DbFlipVal = 0;
  std::int32_t db_reset_val = 0;

  // Nodes and ids.
  std::int16_t node_opt = 0;
  std::int16_t node_level = 0;
  Name nodeTable;
  Name nodeIdCol;
  Name nodeCntCol;
  Name nodeXCol;
  Name nodeYCol;
  Name IdCol;
  std::int16_t nodeEnt = 0;
  std::int32_t nodeNextOcc = 0;
  std::array<std::int16_t, 8> node_link{};
  std::int16_t node_link_words = 8;
  FixedText<kLinkTypeBytes> linktype;  // QBT_linktype; its first letter counts
  std::int16_t id_n2l = 0;
  std::int16_t id_l2n = 0;
  std::int16_t id_numeric = 0;

  // Labels.
  std::int16_t label_opt = 0;
  std::int16_t labEnt = 0;
  Name labCol;
  std::int16_t lab_zee = 0;
  std::int16_t lab_mslink = 0;
  std::int16_t lab_dxf = 0;
  std::int16_t lab_db = 0;
  std::int16_t labLevel = 0;
  std::int16_t lab_same_level = 0;
  double labSize = 0;
  std::int16_t labFt = 0;
  std::int16_t labJust = 7;
  std::int16_t labColor = 0;
  std::int16_t labWeight = 0;
  std::int16_t lab_color_same = 0;
  double labAngle = 0;
  double labDist = 0;
  double labSpace = 0;
  Offset2 labOff;
  std::int32_t label_pos_mode = -1;
  std::int16_t label_limit_opt = 0;
  std::int16_t label_limit = 0;

  // Linear parameters.
  std::int16_t lin_par_opt = 0;
  std::int16_t linEnt = 0;
  Name linTable;
  Name slopeCol;
  std::int16_t slope_opt = 0;
  Name distCol;
  std::int16_t dist_opt = 0;
  Name fromXCol;
  Name fromYCol;
  Name toXCol;
  Name toYCol;
  Name highZCol;
  std::int16_t highZ_opt = 0;
  Name lowZCol;

  // Shapes and element types.
  std::int16_t shape_centroid = 0;
  std::int16_t centroid_type = 3;
  std::int16_t centroid_level = 0;
  std::int16_t centroid_text_param = 0;
  std::array<std::int32_t, 2> centroid_text_size{};  // width and height
  TextNodeParams text_node_params;
  TextSymbology text_sym;
  std::int16_t etak = 0;
  std::int16_t del17 = 0;
  std::int16_t complex_parts = 0;

  RunConfig() { dgnname.assign("-"); }
};

}  // namespace vornel::joiner
