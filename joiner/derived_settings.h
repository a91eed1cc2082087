// The settings derived once every option has been read, and the checks of
// option combinations. Runs between reading the options and the run setup.
#pragma once

#include <optional>
#include <ostream>

#include "joiner/option_context.h"

namespace vornel::joiner {

// Completes `cfg`. Returns the exit status when a check stops the run; its
// message is printed to `out` by then.
std::optional<int> derive_settings(RunConfig& cfg, const ReadState& state, const RunEnvironment& env,
                                   std::ostream& out);

}  // namespace vornel::joiner
