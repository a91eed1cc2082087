// Joining the vertices of one component onto the chain expanded so far.
#pragma once

#include <cstdint>

#include "toolkit/complex/chain_vertices.h"

namespace vornel::toolkit::complex {

// Appends `next` to `chain`, the `ordinal`-th component with vertices (1 for
// the first). The second component may turn the chain around as well as
// itself; later ones only turn themselves. Ends that do not meet are joined
// at the intersection of the end segments. Distances are measured in
// `dimension`; `debug` prints traces.
void merge_component(Vertices& chain, Vertices next, int ordinal, int16_t dimension, int16_t debug);

}  // namespace vornel::toolkit::complex
