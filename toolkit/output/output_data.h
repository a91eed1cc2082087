// Writing one finished chain into the design file as shapes, line strings,
// curves or B-spline curves, cut into pieces that fit one element.
#pragma once

#include <cstdint>
#include <span>

#include "client/operations/operations.h"

namespace vornel::toolkit {

// Element kinds of output_data.
inline constexpr int16_t kOutputShape = -2;
inline constexpr int16_t kOutputCurve = 0;
inline constexpr int16_t kOutputLineString = 1;  // any other value: B-spline curve

// Vertices per piece minus one when the caller sets no maximum, and the most a
// piece can hold (the size of the piece work buffer, less one).
inline constexpr int32_t kDefaultPieceSize = 100;
inline constexpr int32_t kCurvePieceSize = 96;
inline constexpr int32_t kMaxPieceSize = 100;

// Writes vertices[0 .. last_index] (stride = dimension) as new elements on
// `level` and returns the index of the last vertex written: last_index, or,
// with whole_pieces == 1, the end of the last complete piece (the rest is left
// for the caller). Pieces share their end vertices; with complex_flag nonzero
// a chain of more than one piece is grouped under one complex chain, closed
// with complex_flag's value.
//   element_count  raised once per piece (and once for a shape)
//   zero_count     <= 0: zero-length two-vertex pieces are written as usual;
//                  > 0: they go to zero_level (> 0) or are dropped, and the
//                  counter rises
//   max_vertices   > 1: vertices per piece (at most kMaxPieceSize + 1)
//   low, high      elevations for the extended place operations
// `unused` keeps the caller's argument order; points_in is traced only.
// *status receives the status of the last placement (or of closing the
// complex chain). The symbology record is changed while an open chain asked
// for as a shape is written as line strings, and restored afterwards.
int32_t output_data(int32_t last_index, std::span<const int32_t> vertices, int16_t whole_pieces,
                    int16_t complex_flag, int16_t kind, int32_t* element_count, int16_t* zero_count,
                    int16_t zero_level, int16_t level, const int16_t* mode_pair,
                    std::span<const int16_t> attributes, Symbology* symbology, int16_t max_vertices,
                    int16_t dimension, const void* unused, int32_t low, int32_t high, int32_t points_in,
                    int16_t debug, int16_t* status);

}  // namespace vornel::toolkit
