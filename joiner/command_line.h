// Turns the joiner's command line and environment into its run configuration.
#pragma once

#include <ostream>
#include <span>
#include <string_view>
#include <variant>

#include "joiner/run_config.h"
#include "joiner/run_environment.h"

namespace vornel::joiner {

// The run ends before it starts: the message is printed, this is the status.
struct RunExit {
  int status = 0;
};

// Reads the options (args[0] is the program name), the environment, derives
// the remaining settings and checks their combinations. Every message goes to
// `out`. Sets the process-wide `diag` switch.
std::variant<RunConfig, RunExit> configure_run(std::span<const std::string_view> args,
                                               const EnvLookup& env, std::ostream& out);

}  // namespace vornel::joiner
