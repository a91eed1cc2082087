// The geometry of each written piece stored in its database row.
#include "joiner/options/option_hooks.h"

namespace vornel::joiner {

void write_linear_parameters(JoinRun&, std::int32_t, std::int32_t) {}

}  // namespace vornel::joiner
