// A minimal console tool for the host tests: opens a design file through the
// library, prints two TCB values, closes, and exits with the status (mod 256).
//   session_probe FILE            open, read, close
//   session_probe FILE die-locked open, then die holding the queue mutex

#include "client/connection/host_connection.h"
#include "client/connection/object_names.h"
#include "client/platform/named_mutex.h"
#include "client/session/session.h"

#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  using namespace vornel;
  if (argc < 2) return 2;
  std::int16_t status = 0;
  std::int16_t mode = 1;
  indfpi(nullptr, argv[1], nullptr, nullptr, &mode, nullptr, &status, nullptr);
  std::printf("open %d\n", status);
  if (status != 0) {
    prt_error(&status);
    return status & 255;
  }
  if (argc > 2 && std::strcmp(argv[2], "die-locked") == 0) {
    platform::NamedMutex mutex;
    platform::NamedMutex::open_or_create(
        connection::queue_mutex_name(connection::connection_state().queue.key()), mutex);
    mutex.lock(5000);
    std::fflush(stdout);
    raise(SIGKILL);
  }
  std::int16_t words = 16;
  std::int16_t dimension = 0;
  std::int32_t uor = 0;
  rdtcbasc("NDICES", &words, &dimension, &status);
  rdtcbasc("EU.UOR", &words, &uor, &status);
  std::printf("NDICES %d EU.UOR %d\n", dimension, uor);
  int closed = dedfpi(nullptr);
  std::printf("close %d\n", closed);
  return closed & 255;
}
