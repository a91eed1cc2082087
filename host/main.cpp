// dgnhost: the design host. Opens the design file, attaches to the client's
// message queue and serves requests until its last client closes.

#include "client/connection/status_codes.h"
#include "client/platform/process.h"
#include "host/host_options.h"
#include "host/host_session.h"
#include "host/server.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::atomic<bool> stop_requested{false};

extern "C" void request_stop(int) { stop_requested.store(true); }

// Tools look for the TCB variable table through MS_RSRC; without one in the
// environment, point it at dgnhost.rsc beside this program.
void default_resource_file(const char* argv0) {
  if (std::getenv("MS_RSRC") != nullptr) return;
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) self = std::filesystem::absolute(argv0, error);
  std::filesystem::path resource = self.parent_path() / "dgnhost.rsc";
  if (std::filesystem::exists(resource, error)) setenv("MS_RSRC", resource.c_str(), 0);
}

std::uint32_t key_from_environment() {
  const char* value = std::getenv("MSGKEY");
  return value != nullptr ? static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10)) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vornel;
  std::string error;
  auto options = host::parse_host_options(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "dgnhost: %s\n\n%s", error.c_str(), host::kHostUsage);
    return 2;
  }
  if (options->help) {
    std::fputs(host::kHostUsage, stdout);
    return 0;
  }
  default_resource_file(argv[0]);
  struct sigaction action {};
  action.sa_handler = request_stop;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  host::HostSession session;
  session.startup_status = session.file.open(options->design_file);
  // Without its file the host only tells its client so and ends: no TCB.
  if (session.startup_status == 0) {
    if (int rc = session.tcb.create(); rc != 0) {
      std::fprintf(stderr, "dgnhost: cannot create the TCB object (errno %d)\n", rc);
      return status::kIndfpiInitialization;
    }
    session.tcb.load_header(session.file.header());
  }

  host::Server server(session);
  std::uint32_t key = key_from_environment();
  if (options->started_by_client) {
    if (key == 0 || server.add_queue(key, false, true) != 0) {
      std::fprintf(stderr, "dgnhost: cannot attach to the queue of MSGKEY=%u\n", key);
      return status::kIndfpiInitialization;
    }
  } else {
    if (session.startup_status != 0) {
      std::fprintf(stderr, "dgnhost: %s: not a design file or cannot be opened\n", options->design_file.c_str());
      return session.startup_status;
    }
    int rc = -1;
    if (key != 0) {
      rc = server.add_queue(key, true, false, true);
    } else {
      const auto pid = static_cast<std::uint32_t>(platform::current_process_id());
      for (std::uint32_t n = 1; n <= 128 && rc != 0; ++n) {
        key = pid + 0x10000u * n;
        rc = server.add_queue(key, true, false, true);
      }
    }
    if (rc != 0) {
      std::fprintf(stderr, "dgnhost: cannot create the queue of MSGKEY=%u (%d)\n", key, rc);
      return status::kIndfpiInitialization;
    }
    std::printf("MSGKEY=%u TCBKEY=%s\n", key, session.tcb.name().c_str());
    std::fflush(stdout);
  }

  server.run(stop_requested);
  session.file.close();
  session.tcb.remove();
  // A file that could not be opened ends the host with that status; the
  // client sees it (modulo 256) and reports the code.
  return session.startup_status;
}
