#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "client/operations/operations.h"
#include "client/records/element_words.hpp"
#include "joiner/console_print.h"
#include "joiner/diag.h"
#include "joiner/output/chain_output.h"

namespace vornel::joiner {
namespace {

// Drops the text at x, y, when the point table holds one there, ten levels.
void move_one(JoinRun& run, std::int32_t x, std::int32_t y, const char* side) {
  const std::int32_t record = find_point_record(run.table, x, y);
  if (record < 0) {
    if (diag) print(run.out, "\n%scentroid not found", side);
    return;
  }
  std::array<std::uint16_t, 1024 + 8> element{};
  const std::int32_t file = 0;
  const std::int32_t position = std::abs(run.table.offset(record));
  if (ms_read_element(element.data(), &file, &position) != 0) return;
  const int level = ((element[0] & 0x3F) - 10 + 64) % 64;
  element[0] = static_cast<std::uint16_t>((element[0] & ~0x3Fu) | static_cast<unsigned>(level));
  ms_write_element(element.data(), &file, &position);
  ++run.counters.etak_moves;
  if (diag) print(run.out, "\n%scentroid at %ld,%ld found and moved to %d", side, static_cast<long>(x),
                  static_cast<long>(y), level);
}

}  // namespace

void move_etak_centroids(JoinRun& run, bool reversed) {
  const std::int32_t linepts = run.current.linepts;
  if (linepts < 2) return;
  const std::int32_t* a = reversed ? run.vertex(linepts - 2) : run.vertex(0);
  const std::int32_t* b = reversed ? run.vertex(linepts - 1) : run.vertex(1);
  const double dx = b[0] - a[0];
  const double dy = reversed ? a[1] - b[1] : b[1] - a[1];
  double angle = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
  if (angle < 0) angle += 360.0;
  std::int32_t ox = 0;
  std::int32_t oy = 0;
  if (angle >= 315 || angle <= 45) {
    oy = 4;
  } else if (angle <= 135) {
    ox = -4;
  } else if (angle <= 225) {
    oy = -4;
  } else {
    ox = 4;
  }
  const std::int32_t mx = a[0] / 2 + b[0] / 2;
  const std::int32_t my = a[1] / 2 + b[1] / 2;
  move_one(run, mx + ox, my + oy, "L");
  move_one(run, mx - ox, my - oy, "R");
}

}  // namespace vornel::joiner
