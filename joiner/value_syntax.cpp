#include "joiner/value_syntax.h"

#include <algorithm>
#include <array>

#include "joiner/diag.h"
#include "joiner/level_rules.h"
#include "joiner/value_lists.h"

namespace vornel::joiner {

namespace {

// Largest value each symbology attribute takes: style, weight, color, class.
constexpr std::array<int, 4> kSymLimit{7, 30, 255, 7};

// A flag level of 0, none, or one beyond the design file's levels goes on 63.
std::int16_t flag_level_or_top(const DigitField& field) { return level_or(field.number, kTopLevel); }

}  // namespace

Verdict read_level_code(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const std::string_view value = ctx.value;
  const char lead = value.empty() ? '\0' : value.front();
  if (lead == 'L' || lead == 'O') {
    cfg.out_level = lead == 'L' ? 0 : -2;
  } else {
    const DigitField level = digit_field(value, 1);
    long long out_level = level.number;
    if (level.lead == '-') out_level = -out_level;
    if (level.lead == 'F') out_level = -1;
    cfg.split_flag_level = flag_level_or_top(digit_field(value, 2));
    const DigitField size = digit_field(value, 3);
    cfg.split_flag_size = size.number == 0 ? 1 : static_cast<std::int32_t>(size.number);
    if (out_level > kTopLevel) {
      print(ctx.out, "\ninvalid level number %d - exiting\n", static_cast<int>(out_level));
      return Verdict::stop(2);
    }
    // Every level code below -2 means the same thing; keep 1 - out_level in range.
    cfg.out_level = to_int16(std::max(out_level, -32766LL));
  }
  if (diag) {
    print(ctx.out, "\n-L (output level) Option Selected\nwith out_level=%d split_flag_level=%d split_flag_size=%d",
          cfg.out_level, cfg.split_flag_level, cfg.split_flag_size);
  }
  return Verdict::accept();
}

Verdict read_symbology(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const std::string_view value = ctx.value;
  const char lead = value.empty() ? '\0' : value.front();
  if (lead == 'S') return Verdict::improper();

  bool proper = true;
  int flag_field = 5;  // where flagLevel,flagSize begin
  if (lead == 'O') {
    cfg.sym_mode.fill(kSymOriginal);
    flag_field = 0;  // -SO takes the default flag level and size
  } else if (lead == 'F') {
    cfg.sym_mode.fill(kSymFlag);
    flag_field = 2;
  } else {
    for (int attr = 0; attr < 4; ++attr) {
      const DigitField field = digit_field(value, attr + 1);
      auto& mode = cfg.sym_mode[static_cast<std::size_t>(attr)];
      if (field.empty) {
        mode = kSymSame;
        continue;
      }
      long long n = field.number;
      cfg.sym_value[static_cast<std::size_t>(attr)] = to_int16(n);
      long long m = n;
      if (field.lead == '-' && n > 0) m = -n - 1;
      if (field.lead == 'o') m = kSymOriginal;
      if (field.lead == 'f') m = kSymFlag;
      if (field.lead == 's') m = kSymSame;
      mode = to_int16(m);
      if (m < kSymOriginal || n > kSymLimit[static_cast<std::size_t>(attr)]) proper = false;
    }
  }
  const DigitField level = flag_field ? digit_field(value, flag_field) : DigitField{};
  const DigitField size = flag_field ? digit_field(value, flag_field + 1) : DigitField{};
  cfg.sym_flag_level = flag_level_or_top(level);
  cfg.sym_flag_size = size.number == 0 ? 100 : static_cast<std::int32_t>(size.number);
  if (!proper) return Verdict::improper();
  if (diag) {
    print(ctx.out,
          "\n-S (symbology) Option Selected\nwith modes %d,%d,%d,%d values %d,%d,%d,%d"
          " sym_flag_level=%d sym_flag_size=%d",
          cfg.sym_mode[0], cfg.sym_mode[1], cfg.sym_mode[2], cfg.sym_mode[3], cfg.sym_value[0],
          cfg.sym_value[1], cfg.sym_value[2], cfg.sym_value[3], cfg.sym_flag_level,
          cfg.sym_flag_size);
  }
  return Verdict::accept();
}

Verdict read_element_types(OptionContext& ctx) {
  const SplitList items(ctx.value);
  for (int i = 1; i <= items.count(); ++i) {
    const std::string_view item = items.field(i);
    if (item.size() >= kElementItemBytes) {
      print(ctx.out, "\nElement type item is too long (at most %zu characters): %.*s",
            kElementItemBytes - 1, static_cast<int>(item.size()), item.data());
      return Verdict::improper();
    }
    const std::size_t dash = item.find('-');
    if (dash != std::string_view::npos && item.find('-', dash + 1) != std::string_view::npos) {
      return Verdict::improper();
    }
    int low = c_atoi(item.substr(0, dash));
    int high = dash == std::string_view::npos ? low : c_atoi(item.substr(dash + 1));
    if (low > high) std::swap(low, high);
    // Only two types matter to the joiner; test them against the range
    // rather than walking it.
    if (low <= 16 && 16 <= high) ctx.cfg.stroke_arcs = 1;
    if (low <= 14 && 14 <= high) ctx.cfg.complex_parts = 1;
  }
  if (diag) {
    print(ctx.out, "\n-e (element types) Option Selected\nwith stroke_arcs=%d complex_parts=%d",
          ctx.cfg.stroke_arcs, ctx.cfg.complex_parts);
  }
  return Verdict::accept();
}

Verdict read_label(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  cfg.label_opt = 1;
  if (!ctx.put(cfg.labCol, list.field(2), "label column")) return Verdict::improper();

  if (cfg.labCol == "ZEE") {
    cfg.lab_zee = 1;
  } else {
    cfg.labEnt = to_int16(ctx.env.number("QBT_labent"));
    if (!ctx.put(cfg.dbName, ctx.env.text("QBT_dbName"), "QBT_dbName")) return Verdict::improper();
    if (cfg.labCol == "mslink") {
      cfg.lab_mslink = 1;
    } else {
      cfg.lab_db = 1;
    }
  }

  if (cfg.labCol == "dxf_text") {
    // Size and justification come from each row; the rest may be given here.
    cfg.lab_dxf = 1;
    print(ctx.out, "\nsetting dxf label parameters ... for dbread of label placement values\n");
    cfg.labLevel = 3;
    cfg.labSize = 0;
    cfg.labFt = 1;
    cfg.labJust = 7;
    cfg.labColor = 0;
    cfg.labWeight = 0;
    cfg.labAngle = cfg.labDist = cfg.labSpace = 0;
    cfg.labOff = {};
    if (!list.field(3).empty()) cfg.labLevel = to_int16(list.integer(3));
    if (!list.field(5).empty()) cfg.labFt = to_int16(list.integer(5));
    if (!list.field(7).empty()) {
      cfg.labColor = to_int16(list.integer(7));
    } else {
      cfg.lab_color_same = 1;
    }
    if (!list.field(8).empty()) cfg.labWeight = to_int16(list.integer(8));
  } else {
    cfg.labLevel = to_int16(list.integer(3));
    cfg.labSize = list.real(4);
    cfg.labFt = list.field(5).empty() ? 0 : to_int16(list.integer(5));
    cfg.labJust = list.field(6).empty() ? 7 : to_int16(list.integer(6));
    cfg.labColor = to_int16(list.integer(7));
    cfg.labWeight = to_int16(list.integer(8));
    cfg.labAngle = list.real(9);
    cfg.labDist = list.real(10);
    cfg.labSpace = list.real(11);
    cfg.labOff.x = list.real(12);
    cfg.labOff.y = list.real(13);
  }

  if (cfg.labLevel == 0) cfg.lab_same_level = 1;
  if (!cfg.lab_dxf && !(cfg.labSize > 0)) {
    print(ctx.out, "\ninvalid label size - vornel exiting");
    return Verdict::stop(79);
  }
  if (diag) {
    print(ctx.out,
          "\nlabel parameters:\n labLevel=%d\n labSize=%lf\n labFt=%d\n labJust=%d\n labColor=%d\n"
          " labWeight=%d\n labAngle=%lf\n labDist=%lf\n labSpace=%lf\n labOff.x=%lf\n labOff.y=%lf\n",
          cfg.labLevel, cfg.labSize, cfg.labFt, cfg.labJust, cfg.labColor, cfg.labWeight,
          cfg.labAngle, cfg.labDist, cfg.labSpace, cfg.labOff.x, cfg.labOff.y);
  }
  return Verdict::accept();
}

Verdict read_break_interval(OptionContext& ctx) {
  RunConfig& cfg = ctx.cfg;
  const SplitList list(ctx.value);
  const int n = list.integer(1);
  if (!NumberedArray<float, kMaxBreakIntervals>::holds(n)) {
    print(ctx.out, "\nSlope break interval number %d is outside 1..%d", n, kMaxBreakIntervals);
    return Verdict::improper();
  }
  cfg.brk_min_pct[n] = static_cast<float>(list.real(2));
  cfg.brk_max_pct[n] = static_cast<float>(list.real(3));
  cfg.brk_limit[n] = static_cast<float>(list.real(4));
  cfg.brk_min_len[n] = list.real(5);
  ctx.state.intervals_given.set(static_cast<std::size_t>(n));
  if (n > cfg.brk_count) cfg.brk_count = static_cast<std::int16_t>(n);
  if (diag) {
    print(ctx.out, "\n%.*s (break lines) Option Selected\nwith interval %d: %.2f,%.2f,%.2f,%.2f",
          static_cast<int>(ctx.option.size()), ctx.option.data(), n, cfg.brk_min_pct[n],
          cfg.brk_max_pct[n], cfg.brk_limit[n], cfg.brk_min_len[n]);
  }
  return Verdict::accept();
}

void set_node_linkage(RunConfig& cfg) {
  auto& link = cfg.node_link;
  link.fill(0);
  link[0] = 1;
  link[1] = -1;
  const char kind = cfg.linktype.front();
  if (kind == 'D') {
    link[2] = 0;
    link[3] = cfg.nodeEnt;
    cfg.node_link_words = 4;
    return;
  }
  link[2] = 0x1007;
  link[3] = kind == 'I' ? 0x3948 : kind == 'O' ? 0x6091 : 0x71FB;
  link[4] = 0x0F81;
  link[5] = cfg.nodeEnt;
  cfg.node_link_words = 6;
}

void preset_centroid_text(RunConfig& cfg) {
  cfg.text_node_params = TextNodeParams{0, 0, 10, cfg.centroid_text_param};
  cfg.text_sym = TextSymbology{};
  cfg.text_sym.weight = 1;
  cfg.text_sym.color = 4;
}

}  // namespace vornel::joiner
