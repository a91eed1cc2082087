// Runs configure_run in-process on an argument list and an environment table.
#pragma once

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "joiner/command_line.h"

namespace vornel::joiner::testing {

using Env = std::map<std::string, std::string, std::less<>>;

// What the driver always sets for a 3-D run.
inline Env run_env(Env extra = {}) {
  Env env{{"QBT_segpid", "12345678"}, {"QBT_segdim", "3"}, {"QBT_maxverts", "100"}};
  for (auto& [name, value] : extra) env[name] = value;
  return env;
}

struct Outcome {
  std::string text;
  std::optional<RunConfig> cfg;  // set when the run would go on
  int status = 0;                // exit status when it stops
};

inline Outcome configure(const std::vector<std::string>& options, const Env& env = run_env()) {
  std::vector<std::string_view> args{"vornel"};
  args.insert(args.end(), options.begin(), options.end());
  std::ostringstream out;
  const EnvLookup lookup = [&env](std::string_view name) -> std::optional<std::string> {
    const auto found = env.find(name);
    if (found == env.end()) return std::nullopt;
    return found->second;
  };
  auto result = configure_run(args, lookup, out);
  Outcome outcome;
  outcome.text = out.str();
  if (auto* cfg = std::get_if<RunConfig>(&result)) {
    outcome.cfg = *cfg;
  } else {
    outcome.status = std::get<RunExit>(result).status;
  }
  return outcome;
}

inline const char* const kUsage =
    "\nQBT_vornel is run by keying in the command line:\n\n"
    "        QBT_vornel [-L outlevel] [-S s,w,co,cl] [-D lv,mu_size]\n"
    "        [-c] [-s] [-WR pixel_size] [-W d_tol,l_tol,a_tol]\n"
    "        [-Z zero_in] [-C] [-Ax ] [-z] [-g] [-p]\n"
    "        [-B[C] interval#,minPCT,maxPct,breakLimit,minLength]\n"
    "        [-sc curve_stroke_tolerance] [-sa arc_stroke_tolerance]\n"
    "        [-V #vertices] [-f] [-F dgnname] [-M] [-zc value,color]\n\n"
    "        subject to the definitions in the README file\n\n";

}  // namespace vornel::joiner::testing
