#include "joiner/output/shape_centroid.h"

namespace vornel::joiner {

void place_shape_centroid(JoinRun&, std::int32_t, std::int32_t, WriteReason) {}

}  // namespace vornel::joiner
