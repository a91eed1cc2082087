#include "host/host_options.h"

namespace vornel::host {

const char* const kHostUsage =
    "dgnhost - the design host of the vornel tools.\n"
    "\n"
    "It opens one design file (.dgn) read-write and serves requests of the console\n"
    "tools (pellax, quillet, vornel) through a shared-memory message queue: it reads\n"
    "and writes elements, shares its terminal control block (TCB) and relays database\n"
    "requests. It ends when its last client closes the file.\n"
    "\n"
    "Usage:\n"
    "  dgnhost -client TASK DESIGNFILE [-cCACHE]\n"
    "      How a tool starts it: a tool that opens a design file and finds no host\n"
    "      looks for dgnhost in the current directory, then in the directories of\n"
    "      MS_EXE (separated by ';'), and starts it with MSGKEY set to the key of the\n"
    "      queue it created.\n"
    "  [MSGKEY=KEY] dgnhost DESIGNFILE\n"
    "      By hand: serves queue KEY (created when it does not exist; a new key when\n"
    "      MSGKEY is not set) and prints the MSGKEY and TCBKEY values. A tool run with\n"
    "      both variables set joins this host; a tool with TCBKEY alone joins it on a\n"
    "      queue of its own. Ends when its last client closes, or on SIGINT/SIGTERM.\n"
    "  dgnhost --help\n"
    "\n"
    "The TCB variable table for the tools is dgnhost.rsc beside the program\n"
    "(or the file MS_RSRC names). Configuration variables requested by tools are\n"
    "read from this program's environment.\n";

std::optional<HostOptions> parse_host_options(const std::vector<std::string>& args, std::string& error) {
  HostOptions options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    if (arg == "-client") {
      options.started_by_client = true;
    } else if (arg.rfind("-c", 0) == 0) {
      options.cache = arg.substr(2);
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return std::nullopt;
    } else {
      positional.push_back(arg);
    }
  }
  const std::size_t wanted = options.started_by_client ? 2 : 1;
  if (positional.size() != wanted) {
    error = options.started_by_client ? "-client needs a task name and a design file"
                                      : "one design file expected";
    return std::nullopt;
  }
  if (options.started_by_client) options.task_name = positional[0];
  options.design_file = positional.back();
  return options;
}

}  // namespace vornel::host
