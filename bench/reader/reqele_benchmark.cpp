// Scanning a design file of 1,000,000 line strings with reqele, default
// criteria and the type mask of lines, line strings, curves and complex
// chains. Prints the scan rate of design file as MB=<megabytes>/s (and
// bytes_per_second).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "client/reader/design_reader.hpp"
#include "tools/dgnmake/design_file_builder.hpp"
#include "tools/dgnmake/element_encoder.hpp"

namespace {

using namespace vornel;

constexpr int kLineStrings = 1'000'000;

// Builds the file once per process with the project's own encoder.
const std::string& design_file() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() /
                           ("vornel_reader_bench_" + std::to_string(::getpid()) + ".dgn"))
                              .string();
    dgnmake::DesignDescription d;
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    const auto header = dgnmake::design_header_element(d);
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    dgnmake::ElementSpec e;
    e.kind = dgnmake::Kind::line_string;
    for (int i = 0; i < kLineStrings; ++i) {
      const std::int32_t x = (i % 1000) * 1000;
      const std::int32_t y = (i / 1000) * 1000;
      e.attributes.level = 1 + i % 63;
      e.points = {{x, y, 0}, {x + 400, y, 0}, {x + 400, y + 300, 0}, {x + 900, y + 700, 0}};
      const auto bytes = dgnmake::encode_element(e, client::Dimension::two);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const char end[2] = {'\xFF', '\xFF'};
    out.write(end, 2);
    return p;
  }();
  return path;
}

void BM_ReqeleScanLineStrings(benchmark::State& state) {
  const std::string& path = design_file();
  const auto file_bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  const std::uint16_t linear_types[4] = {0x0C0C, 0, 0, 0};  // types 3, 4, 11, 12
  std::array<std::uint16_t, 800> element{};
  const std::int32_t max_words = static_cast<std::int32_t>(element.size());
  std::int64_t delivered = 0;
  for (auto _ : state) {
    client::reset_design_reader();
    std::int16_t status = 0;
    client::dfrset(nullptr, nullptr, linear_types, nullptr, nullptr, nullptr, nullptr,
                   path.c_str(), &status, nullptr);
    if (status != 0) {
      state.SkipWithError("cannot open the benchmark design file");
      break;
    }
    client::ScanPosition position;
    std::int16_t type = 0;
    delivered = 0;
    while (client::reqele(element.data(), &max_words, &status, nullptr, &type, nullptr, nullptr,
                          nullptr, &position, nullptr, nullptr, nullptr) == 0) {
      ++delivered;
    }
    benchmark::DoNotOptimize(element);
  }
  if (delivered != kLineStrings) state.SkipWithError("not every line string was delivered");
  state.SetBytesProcessed(state.iterations() * file_bytes);
  state.counters["MB"] = benchmark::Counter(
      static_cast<double>(state.iterations() * file_bytes) / 1e6, benchmark::Counter::kIsRate);
  state.counters["elements"] = static_cast<double>(delivered);
}
BENCHMARK(BM_ReqeleScanLineStrings)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(design_file());
  return 0;
}
