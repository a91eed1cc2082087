// The centroid point placed inside a written shape.
#pragma once

#include "joiner/output/chain_output.h"

namespace vornel::joiner {

// Places the centroid of chain vertices s .. s + n (a closed piece) as a
// zero-length line, a "?" text or a text node, carrying the chain's output
// linkages, which are then cleared so the boundary is written without them.
void place_shape_centroid(JoinRun& run, std::int32_t s, std::int32_t n, WriteReason reason);

}  // namespace vornel::joiner
