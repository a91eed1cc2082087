// Reading the joiner's command line into RunConfig, option by option.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "joiner/option_context.h"

namespace vornel::joiner {

// Reads the options (args[0] is the program name). Returns the exit status
// when an option stops the run; its message is printed to `out` by then.
std::optional<int> read_options(std::span<const std::string_view> args, const RunEnvironment& env,
                                std::ostream& out, RunConfig& cfg, ReadState& state);

}  // namespace vornel::joiner
