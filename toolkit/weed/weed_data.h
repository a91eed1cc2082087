// The tolerance weeder: thins a chain in place by offset, chord length and
// bearing tolerances, or flags zingers when the angle tolerance is negative.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/weed/weed_limits.h"
#include "toolkit/weed/zinger_flag.h"

namespace vornel::toolkit {

// Thins the two-dimensional chain vertices[0 .. *last_index] (stride 2) in
// place and rewrites *last_index.
//   distance_tol > 0  largest offset of a removed vertex from its chord
//   length_tol   > 0  longest chord; < 0: only vertices within |length_tol|
//                     of either chord end may go
//   *angle_tol   > 0  largest bearing change in degrees; < 0: nothing is
//                     thinned and zingers are flagged through flag_placer
//                     (null: counted only). All three tolerances 0 set
//                     *angle_tol to 0.005 for this and later calls.
// The in/out counters are raised by the vertex counts before and after;
// unit_factor and global_origin (two doubles) only convert traced positions
// to master units. Chains longer than kWeedMaxVertices, or longer than the
// array holds, are left as they are and reported (see WeedResult).
int weed_data(std::span<int32_t> vertices, int32_t* last_index, float distance_tol,
              float length_tol, float* angle_tol, int16_t debug, int32_t* vertices_in,
              int32_t* vertices_out, int16_t flag_level, double flag_size, int32_t* zinger_count,
              double unit_factor, const double* global_origin, ZingerFlagPlacer* flag_placer);

// The same for three-dimensional chains (stride 3). Every decision is taken in
// plan; elevations move with their vertices.
int weed_data3d(std::span<int32_t> vertices, int32_t* last_index, float distance_tol,
                float length_tol, float* angle_tol, int16_t debug, int32_t* vertices_in,
                int32_t* vertices_out, int16_t flag_level, double flag_size,
                int32_t* zinger_count, double unit_factor, const double* global_origin,
                ZingerFlagPlacer* flag_placer);

}  // namespace vornel::toolkit
