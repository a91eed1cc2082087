// Round-trip time of one request and its reply between a client and a real
// dgnhost process. Sends N requests of each kind (default 1,000,000) and
// prints the median and tail of the per-request times.
//   transport_latency [COUNT]
// Run from anywhere: dgnhost and dgnhost.rsc are taken from this program's
// directory (build/bin).

#include "bench/common/host_bench.h"
#include "client/connection/host_connection.h"
#include "client/session/session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  double median_us, p90_us, p99_us;
};

Figures figures(std::vector<double>& times) {
  auto at = [&](double q) {
    auto index = static_cast<std::size_t>(q * static_cast<double>(times.size() - 1));
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(index), times.end());
    return times[index];
  };
  return {at(0.5), at(0.9), at(0.99)};
}

template <class Send>
bool measure(const char* what, long count, Send send) {
  std::vector<double> times(static_cast<std::size_t>(count));
  for (long i = 0; i < 1000; ++i) send();  // warm up both sides
  for (long i = 0; i < count; ++i) {
    auto start = Clock::now();
    if (send() < 0) {
      std::fprintf(stderr, "%s: request %ld failed\n", what, i);
      return false;
    }
    times[static_cast<std::size_t>(i)] = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  }
  Figures f = figures(times);
  std::printf("%-24s %ld requests  median %.2f us  p90 %.2f us  p99 %.2f us\n", what, count, f.median_us, f.p90_us,
              f.p99_us);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vornel;
  bench::HostBench host("transport_latency");
  if (const int failed = host.start(argc, argv); failed != 0) return failed;
  const long count = host.count();
  bool ok = measure("configuration variable", count, [] {
    char value[64];
    std::int16_t size = sizeof value, st = 0;
    return host_config_variable("MS_EXE", value, &size, &st) == 0 ? 0 : -1;
  });
  connection::RequestRecord empty(0x7fff, 0);  // no such request: answered at once
  ok = ok && measure("empty request", count, [&] {
    return connection::send_crc(empty, {}, false) == 900 ? 0 : -1;
  });
  host.close();
  return ok ? 0 : 1;
}
