#include "joiner/command_line.h"

#include "joiner/derived_settings.h"
#include "joiner/diag.h"
#include "joiner/option_table.h"
#include "joiner/usage.h"

namespace vornel::joiner {

std::variant<RunConfig, RunExit> configure_run(std::span<const std::string_view> args,
                                               const EnvLookup& env, std::ostream& out) {
  diag = 0;
  RunConfig cfg;
  ReadState state;
  const RunEnvironment environment(env);
  print_start_banner(out);
  if (auto stop = read_options(args, environment, out, cfg, state)) return RunExit{*stop};
  if (auto stop = derive_settings(cfg, state, environment, out)) return RunExit{*stop};
  return cfg;
}

}  // namespace vornel::joiner
