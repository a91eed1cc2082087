#pragma once
// Wall-clock seconds and peak memory of the programs a benchmark starts.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vornel::bench {

// Runs `command` through the shell; its wait status goes to `status`.
double timed_shell(const std::string& command, int& status);

// The exit code of a wait status, -1 when the program did not exit.
int exit_code(int status);

struct SampledRun {
  int status = 0;  // wait status
  double seconds = 0.0;
  long peak_kib = 0;           // the program's own peak resident size
  long children_peak_kib = 0;  // the largest peak among the programs it started
};

// Starts `arguments` (the program's path first) with `environment` in front
// of this process's own, standard output and error into `log`, and samples
// the peak memory of it and its children every 50 ms until it ends. Nothing
// when it cannot be started.
std::optional<SampledRun> run_sampled(std::vector<std::string> arguments,
                                      const std::vector<std::string>& environment,
                                      const std::filesystem::path& log);

}  // namespace vornel::bench
