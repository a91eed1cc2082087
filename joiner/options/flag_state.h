// What the diagnostic flags keep between placements.
#pragma once

#include <cstdint>
#include <optional>

namespace vornel::joiner {

// Every kind of flag the joiner places; each has its own level, axes,
// symbology and counter.
enum class FlagKind {
  dangle,
  multi_join,
  join_point,
  overshoot,
  multi_value,
  level_change,
  style_change,
  weight_change,
  color_change,
  class_change,
  multiple_nodes,
};

struct FlagState {
  // Colour of the last dangle flag; multi-join circles take it too. Until a
  // dangle flag is placed the dangle preset's colour holds.
  std::optional<std::int16_t> dangle_color;
  // Colour of the last candidate a join-point flag was placed for.
  std::int16_t join_color = 0;
};

}  // namespace vornel::joiner
