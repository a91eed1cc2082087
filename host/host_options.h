#pragma once
// The host's command line:
//   dgnhost -client TASK DESIGNFILE [-cCACHE]   (as a client library starts it)
//   dgnhost DESIGNFILE                          (by hand; tools join it)
//   dgnhost --help

#include <optional>
#include <string>
#include <vector>

namespace vornel::host {

struct HostOptions {
  bool help = false;
  bool started_by_client = false;
  std::string task_name;
  std::string design_file;
  std::optional<std::string> cache;
};

// Parses the arguments after the program name. On a usage error returns
// nullopt and sets `error`.
std::optional<HostOptions> parse_host_options(const std::vector<std::string>& args, std::string& error);

extern const char* const kHostUsage;

}  // namespace vornel::host
