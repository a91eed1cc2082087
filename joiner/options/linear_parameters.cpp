// The geometry of each written piece stored in its database row.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <span>
#include <string>

#include "joiner/console_print.h"
#include "joiner/options/option_hooks.h"
#include "joiner/options/row_update.h"
#include "toolkit/geometry/distance.h"
#include "toolkit/linkage/get_mslink.h"

namespace vornel::joiner {
namespace {

// A piece's geometry in master units.
struct PieceGeometry {
  double from_x = 0, from_y = 0, to_x = 0, to_y = 0;
  double from_z = 0, to_z = 0, low_z = 0, high_z = 0;
  double horizontal = 0;  // plan length
  double spatial = 0;     // slope length
};

PieceGeometry measure(const JoinRun& run, std::span<const std::int32_t> piece, std::int32_t count) {
  const int d = run.cfg.dimen;
  const double f = run.setup.uor_fact;
  const auto& origin = run.setup.global_origin;
  const std::int32_t* first = piece.data();
  const std::int32_t* last = piece.data() + static_cast<std::ptrdiff_t>(count - 1) * d;
  PieceGeometry g;
  g.from_x = (first[0] - origin[0]) / f;
  g.from_y = (first[1] - origin[1]) / f;
  g.to_x = (last[0] - origin[0]) / f;
  g.to_y = (last[1] - origin[1]) / f;
  if (d == 3) {
    std::int32_t low = first[2];
    std::int32_t high = first[2];
    for (std::int32_t i = 1; i < count; ++i) {
      const std::int32_t z = piece[static_cast<std::size_t>(i * d + 2)];
      low = std::min(low, z);
      high = std::max(high, z);
    }
    g.from_z = (first[2] - origin[2]) / f;
    g.to_z = (last[2] - origin[2]) / f;
    g.low_z = (low - origin[2]) / f;
    g.high_z = (high - origin[2]) / f;
  }
  g.horizontal = toolkit::tot_Hdistance(count, piece, static_cast<std::int16_t>(d)) / f;
  g.spatial = toolkit::tot_distance(count, piece, static_cast<std::int16_t>(d)) / f;
  return g;
}

// Slope by slope option: 1 and 2 in percent over the plan length (total rise
// and end-to-end rise), 3 and 4 the same rises as angles in degrees. A
// vertical piece has no percentage: no value, where a flat one of no plan
// length has the slope 0.
std::optional<double> slope(int slope_opt, const PieceGeometry& g) {
  const double rise = (slope_opt == 1 || slope_opt == 3) ? g.high_z - g.low_z : g.to_z - g.from_z;
  const double h = g.horizontal;
  if (slope_opt == 1 || slope_opt == 2) {
    if (h > 0) return rise / h * 100;
    if (rise == 0) return 0.0;
    return std::nullopt;
  }
  if (h > 0) return std::atan2(rise, h) * 180 / std::numbers::pi;
  if (rise > 0) return 90.0;
  if (rise < 0) return -90.0;
  return 0.0;
}

void update_column(JoinRun& run, const Name& column, std::optional<double> value, std::int32_t mslink) {
  if (column.empty()) return;
  const RunConfig& cfg = run.cfg;
  // A value that is no finite number is stored as no value at all.
  const std::string statement =
      value && std::isfinite(*value)
          ? format_statement("update %s set %s=%.2lf where mslink=%ld;", cfg.linTable.c_str(), column.c_str(),
                             *value, static_cast<long>(mslink))
          : format_statement("update %s set %s=NULL where mslink=%ld;", cfg.linTable.c_str(), column.c_str(),
                             static_cast<long>(mslink));
  send_row_update(run, cfg.linTable.c_str(), statement);
}

}  // namespace

void write_linear_parameters(JoinRun& run, std::int32_t start, std::int32_t last) {
  const RunConfig& cfg = run.cfg;
  std::int32_t mslink = 0;
  if (toolkit::get_mslink_attrib(cfg.linEnt, run.chain.output_links.words, &mslink) == 0) {
    print(run.out, "\n No mslink for graphic element");
    return;
  }
  const std::int32_t count = last + 1;
  const std::span<const std::int32_t> piece(run.vertex(start), static_cast<std::size_t>(count * cfg.dimen));
  const PieceGeometry g = measure(run, piece, count);
  const double distance = cfg.dist_opt == 2 && cfg.dimen == 3 ? g.spatial : g.horizontal;
  const bool extremes = cfg.highZ_opt == 1;
  update_column(run, cfg.slopeCol, slope(cfg.slope_opt, g), mslink);
  update_column(run, cfg.distCol, distance, mslink);
  update_column(run, cfg.highZCol, extremes ? g.high_z : g.from_z, mslink);
  update_column(run, cfg.lowZCol, extremes ? g.low_z : g.to_z, mslink);
  update_column(run, cfg.fromXCol, g.from_x, mslink);
  update_column(run, cfg.toXCol, g.to_x, mslink);
  update_column(run, cfg.fromYCol, g.from_y, mslink);
  update_column(run, cfg.toYCol, g.to_y, mslink);
}

}  // namespace vornel::joiner
