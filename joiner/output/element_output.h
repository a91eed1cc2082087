// Placing one chain piece as new elements: a shape, line strings and lines,
// curves or B-spline curves, cut into pieces of at most 101 vertices that
// share their end vertices, optionally under one complex chain header.
#pragma once

#include <cstdint>

#include "client/operations/operations.h"

namespace vornel::joiner {

struct ElementOutput {
  std::int32_t last_index = 0;           // chain length - 1
  const std::int32_t* vertices = nullptr;
  std::int16_t whole_pieces = 0;         // 1: only complete pieces
  std::int16_t complex_flag = 0;
  std::int16_t kind = 1;                 // -2 shape, 0 curve, 1 line string, else B-spline
  std::int16_t zero_level = 0;
  std::int16_t level = 0;
  const std::int16_t* placement = nullptr;  // placement mode, graphic group
  const std::int16_t* attributes = nullptr;
  std::int16_t max_out_verts = 0;
  std::int16_t dimen = 2;
  std::int32_t low = 0;
  std::int32_t high = 0;
  std::int32_t points_in = 0;
  std::int16_t debug = 0;
};

// Places the chain; returns the index of the last vertex written. Raises
// `written` per element and `zero_count` per zero-length piece (when above
// 0); `status` receives the last placement status.
std::int32_t output_chain(const ElementOutput& request, Symbology& symbology, std::int32_t& written,
                          std::int16_t& zero_count, std::int16_t& status);

}  // namespace vornel::joiner
