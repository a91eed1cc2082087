// Requests per second of placing two-vertex line strings with lsdfpi_ex
// through a real dgnhost process, then of deleting them all again with
// delete_element. Checks at the end that every element is in the file and
// deleted, and prints both rates.
//   place_delete_rate [COUNT]     (default 1,000,000)
// dgnhost and dgnhost.rsc are taken from this program's directory.

#include "bench/common/host_bench.h"
#include "client/operations/operations.h"
#include "client/session/session.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Counts the deleted line strings the file holds, reading it whole.
long deleted_line_strings(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  long count = 0;
  for (std::size_t at = 0; at + 4 <= bytes.size();) {
    const unsigned first = bytes[at] | (bytes[at + 1] << 8);
    if (first == 0xFFFF) break;
    if ((first & 0x8000) != 0 && ((first >> 8) & 0x7F) == 4) ++count;
    at += 2 * ((bytes[at + 2] | (bytes[at + 3] << 8)) + 2u);
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vornel;
  bench::HostBench host("place_delete_rate");
  if (const int failed = host.start(argc, argv); failed != 0) return failed;
  const long count = host.count();
  const std::string& file = host.file();
  std::int16_t status = 0;

  std::vector<std::int32_t> blocks(static_cast<std::size_t>(count));
  std::vector<std::int16_t> bytes(static_cast<std::size_t>(count));
  const std::int16_t placement[2] = {2, 0}, level = 10, two = 2;
  const Symbology symbology{0, 0, 1, 3};
  auto start = Clock::now();
  for (long i = 0; i < count; ++i) {
    const auto x = static_cast<std::int32_t>(i);
    const std::int32_t vertices[4] = {x, 0, x + 100, 100};
    std::int32_t block = -1;
    std::int16_t byte = -1;
    if (lsdfpi_ex(placement, &level, &symbology, vertices, &two, &status, nullptr, nullptr, &block, &byte, nullptr,
                  nullptr, nullptr, nullptr) != 0) {
      std::fprintf(stderr, "placement %ld: ", i);
      prt_error(&status);
      return 1;
    }
    blocks[static_cast<std::size_t>(i)] = block;
    bytes[static_cast<std::size_t>(i)] = byte;
  }
  const double place_seconds = seconds_since(start);

  start = Clock::now();
  const std::int16_t flags = 0;
  for (long i = 0; i < count; ++i) {
    if (delete_element(&blocks[static_cast<std::size_t>(i)], &bytes[static_cast<std::size_t>(i)], &flags, &status) != 0) {
      std::fprintf(stderr, "deletion %ld: ", i);
      prt_error(&status);
      return 1;
    }
  }
  const double delete_seconds = seconds_since(start);
  host.close();

  const long deleted = deleted_line_strings(file);
  const auto size = std::filesystem::file_size(file);
  std::printf("lsdfpi_ex       %ld line strings in %.2f s: %.0f requests/s\n", count, place_seconds,
              static_cast<double>(count) / place_seconds);
  std::printf("delete_element  %ld elements in %.2f s: %.0f requests/s\n", count, delete_seconds,
              static_cast<double>(count) / delete_seconds);
  std::printf("design file %ju bytes, %ld deleted line strings found in it\n", static_cast<std::uintmax_t>(size), deleted);
  return deleted == count ? 0 : 1;
}
