// Text labels with a database value along pieces and at point elements.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "client/operations/operations.h"
#include "client/operations/request_codes.h"
#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "client/records/scan_format.hpp"
#include "client/session/session.h"
#include "extractors/common/element_points.h"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/engine/chain_attributes.h"
#include "joiner/engine/element_fields.h"
#include "joiner/options/option_hooks.h"
#include "toolkit/label/elm_label.h"
#include "toolkit/linkage/attr_link_check.h"
#include "toolkit/linkage/get_mslink.h"

namespace vornel::joiner {

namespace {

namespace el = client::element;

// Memory-form fields of a two-dimensional text and of the range.
constexpr std::size_t kTextFont = 40;
constexpr std::size_t kTextJustification = 41;
constexpr std::size_t kTextLengthMultiplier = 44;
constexpr std::size_t kTextHeightMultiplier = 48;
constexpr std::size_t kTextRotation = 52;
constexpr std::size_t kLowZ = 12;

constexpr double kRotationUnitsPerDegree = 360000.0;

std::int32_t long_at(const std::uint8_t* element, std::size_t offset) {
  return static_cast<std::int32_t>(client::get_long(element, offset));
}

std::int32_t truncated(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<std::int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

// A text size in UOR from a stored multiplier, which holds UOR x 1000 / 6
// rounded: round back, or 20,000 would come back as 19,999.
std::int32_t size_from_multiplier(std::int32_t multiplier) {
  return truncated(std::round(static_cast<double>(multiplier) * 6.0 / 1000.0));
}

// The label text "ZEE": the element's low elevation in master units.
std::string elevation_text(const JoinRun& run) {
  const std::int32_t low = client::from_scan_format(client::get_long(run.element.element(), kLowZ));
  const double master = (low - run.setup.global_origin[2]) / run.setup.uor_fact;
  return std::to_string(truncated(master));
}

std::string field_or_empty(JoinRun& run, std::int32_t mslink, std::int16_t column) {
  std::string value;
  if (!read_field(run, run.cfg.labEnt, mslink, column, value)) value.clear();
  return value;
}

// The dxf columns of the row set the label settings for this label.
void take_dxf_settings(JoinRun& run, std::int32_t mslink) {
  RunConfig& cfg = run.cfg;
  const ElementFields e{run.element.element()};
  run.labels.element_type = -1;
  const std::string layer = field_or_empty(run, mslink, run.setup.dxf_layer_col);
  cfg.labJust = static_cast<std::int16_t>(layer == "SECTCORN" || layer == "SectCorn" ? 2 : 7);
  cfg.labAngle = std::atof(field_or_empty(run, mslink, run.setup.dxf_angle_col).c_str());
  cfg.labSize = std::atof(field_or_empty(run, mslink, run.setup.dxf_size_col).c_str());
  const std::int32_t size = truncated(cfg.labSize * run.setup.uor_fact);
  run.setup.lab_text_size = {size, size};
  if (cfg.lab_same_level) cfg.labLevel = static_cast<std::int16_t>(e.level());
  if (run.labels.at_point_element && cfg.lab_color_same) cfg.labColor = static_cast<std::int16_t>(e.color());
}

// The label text of the element in the element buffer.
std::string label_text(JoinRun& run) {
  const RunConfig& cfg = run.cfg;
  // The elevation needs no database row: every element gets its label.
  if (cfg.lab_zee) return elevation_text(run);
  std::int32_t mslink = 0;
  if (toolkit::get_mslink(cfg.labEnt, run.element.element_bytes(), &mslink) == 0) return {};
  if (cfg.lab_mslink || cfg.nv_mslink) return std::to_string(mslink);
  if (cfg.lab_dxf) take_dxf_settings(run, mslink);
  return field_or_empty(run, mslink, run.setup.lab_col_no);
}

// The text of a two-dimensional text element becomes the label settings
// from here on: font, justification, symbology, angle and size.
void take_text_settings(JoinRun& run) {
  RunConfig& cfg = run.cfg;
  const std::uint8_t* element = run.element.element();
  const ElementFields e{element};
  cfg.labFt = element[kTextFont];
  cfg.labJust = element[kTextJustification];
  cfg.labColor = static_cast<std::int16_t>(e.color());
  cfg.labWeight = static_cast<std::int16_t>(e.weight());
  run.labels.style = static_cast<std::int16_t>(e.style());
  run.labels.element_class = e.element_class();
  cfg.labAngle = long_at(element, kTextRotation) / kRotationUnitsPerDegree;
  run.setup.lab_text_size = {size_from_multiplier(long_at(element, kTextLengthMultiplier)),
                             size_from_multiplier(long_at(element, kTextHeightMultiplier))};
}

// Where a point element is labelled; a text of a two-dimensional file also
// hands its settings over.
std::array<std::int32_t, 3> point_position(JoinRun& run, int type) {
  const int dimen = run.dimen();
  // The same origin (an ellipse's centre truncated) the extractor wrote for it.
  std::vector<extract::Vertex>& origin = run.labels.origin;
  std::array<std::int32_t, 3> at{};
  if (extract::read_element_points(run.element.element_bytes(), dimen, false, origin) == extract::PointsResult::ok &&
      !origin.empty())
    at = {origin.front().x, origin.front().y, origin.front().z};
  if (type == el::text && dimen == 2) {
    std::int32_t reported[2] = {};
    std::int16_t status = 0;
    textchar(run.element.record.data() + 4, nullptr, nullptr, nullptr, nullptr, nullptr, reported, nullptr, &status);
    if (status == 0) at = {reported[0], reported[1], 0};
    take_text_settings(run);
  }
  return at;
}

// Places the label text along vertices[0 .. count-1] as the current element
// asks for; returns the number of labels placement reports. `whole_size`:
// the etak label size starts from the whole part of the label size.
int place_label(JoinRun& run, std::span<const std::int32_t> vertices, std::int32_t count, bool whole_size) {
  RunConfig& cfg = run.cfg;
  const std::string& text = run.chain.label_text;
  const ElementFields e{run.element.element()};

  std::array<std::int16_t, kAttributeBufferWords> attributes{};
  std::int16_t next_free = 2;
  toolkit::attr_link_check(run.element.element_bytes(), attributes, &next_free, 0, 0, cfg.remove_attr);
  const std::uint16_t group = e.graphic_group();
  std::array<std::int16_t, 2> placement{static_cast<std::int16_t>(group != 0 ? 1 : 2),
                                        static_cast<std::int16_t>(group)};
  // Level 0 asks for the element's own level; a text on level 0 would be
  // on no level at all.
  std::int16_t level = cfg.labLevel == 0 && !cfg.etak ? static_cast<std::int16_t>(e.level()) : cfg.labLevel;

  if (cfg.labLevel == 0 && cfg.etak) {
    attributes[0] = 2;
    const int element_level = e.level();
    attributes[4] = static_cast<std::int16_t>(element_level == 30 ? 50063 : 50037);
    level = static_cast<std::int16_t>(element_level == 30 ? 40 : element_level + 1);
    cfg.labColor = static_cast<std::int16_t>(e.color());
    const double label_size = whole_size ? std::trunc(cfg.labSize) : cfg.labSize;
    std::int32_t size = truncated(label_size * run.setup.uor_fact);
    if (level == 15 || level < 10) size = truncated(1.25 * size);
    run.setup.lab_text_size = {size, size};
  }
  if (text.empty()) return 0;

  vornel::TextParameters parameters{run.setup.lab_text_size[0], run.setup.lab_text_size[1], cfg.labFt, 0, cfg.labJust, 0};
  vornel::TextSymbology symbology{{run.labels.element_class, run.labels.style, cfg.labWeight, cfg.labColor}, 0, 0};
  const auto n = static_cast<std::int16_t>(std::min(count, std::int32_t{32767}));
  const auto dimen = static_cast<std::int16_t>(cfg.dimen);
  const std::int16_t placed =
      cfg.dimen == 3
          ? toolkit::elm_label3d(text.c_str(), vertices, n, dimen, run.setup.lab_dist_uor, run.setup.lab_space_uor,
                                 &parameters, &symbology, level, placement.data(), cfg.label_pos_mode, cfg.labAngle,
                                 run.setup.lab_off_uor.data(), attributes, diag, cfg.angShift)
          : toolkit::elm_label(text.c_str(), vertices, n, dimen, run.setup.lab_dist_uor, run.setup.lab_space_uor,
                               &parameters, &symbology, level, placement.data(), cfg.label_pos_mode, cfg.labAngle,
                               run.setup.lab_off_uor.data(), attributes, diag, cfg.angShift, run.labels.element_type);
  run.counters.labels_placed += placed;
  std::int16_t gg_status = 0;
  ggdfpi(run.setup.gg_state.data(), &gg_status);
  if (diag)
    print(run.out, "\n%d)placed label %d-%d |%s|", run.counters.labels_placed, placed, static_cast<int>(text.size()),
          text.c_str());
  return placed;
}

void delete_text(JoinRun& run) {
  const operations::PositionWords words{run.element.record[1], run.element.record[2]};
  const std::int32_t block = operations::block_of(words);
  const auto byte = static_cast<std::int16_t>(words.byte & 0x1FF);
  const std::int16_t flags = 0;
  std::int16_t status = 0;
  delete_element(&block, &byte, &flags, &status);
  if (status != 0) print(run.out, "\nError deleting text element at %d/%d", block, byte);
}

}  // namespace

void capture_label_text(JoinRun& run) {
  run.labels.element_type = static_cast<std::int16_t>(ElementFields{run.element.element()}.type());
  run.chain.label_text = label_text(run);
}

void label_point_element(JoinRun& run) {
  if (run.pass == Pass::ring) return;
  const int type = ElementFields{run.element.element()}.type();
  const std::array<std::int32_t, 3> at = point_position(run, type);
  run.labels.at_point_element = true;
  capture_label_text(run);
  run.labels.at_point_element = false;
  const int placed = place_label(run, at, 1, false);
  if (placed > 0 && run.cfg.del17 && type == el::text) delete_text(run);
}

void label_piece(JoinRun& run, std::int32_t start, std::int32_t last, WriteReason reason) {
  const std::int32_t count = last + 1;
  const std::span<const std::int32_t> vertices(run.vertex(start), static_cast<std::size_t>(count * run.dimen()));
  const bool line_pass = run.pass != Pass::ring;
  const bool whole_size = (line_pass && reason == WriteReason::end) || (!line_pass && reason == WriteReason::flush);
  place_label(run, vertices, count, whole_size);
}

}  // namespace vornel::joiner
