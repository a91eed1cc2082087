// Circles and ellipses that mark places a user should look at.
#include "joiner/options/option_hooks.h"

namespace vornel::joiner {

void node_flags(JoinRun&, const Node&, std::int32_t) {}
void join_point_flag(JoinRun&, const std::int32_t*) {}
void mismatch_flags(JoinRun&, const std::int32_t*) {}
void overshoot_flag(JoinRun&, std::int32_t, std::int32_t) {}

}  // namespace vornel::joiner
