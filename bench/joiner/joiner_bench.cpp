// Times vornel alone: a design file of contour-like line strings cut into
// pieces and stored in scattered order, its sorted point list written here
// (two records per piece), then one vornel run through dgnhost. Prints the
// seconds and the peak memory of vornel and of the host.
//
//   bench_joiner [pieces (default 1000000)] [work folder (default: a temporary one)]
//
// Target: 1,000,000 pieces in at most 6 seconds, under 200 MB together.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "bench/common/contour_pieces.h"
#include "bench/common/process_timing.h"
#include "client/records/element_words.hpp"
#include "pointlist/point_list_file.h"

namespace {

namespace fs = std::filesystem;

constexpr double kTargetSeconds = 6.0;

// The end points of every line string of the file, sorted as sorvik sorts.
std::vector<vornel::pointlist::PointRecord> end_points(const std::vector<std::uint8_t>& file) {
  using vornel::client::get_file_long;
  using vornel::client::get_word;
  std::vector<vornel::pointlist::PointRecord> records;
  std::size_t at = 0;
  while (at + 4 <= file.size()) {
    const std::uint16_t first = get_word(file.data(), at);
    if (first == 0xFFFF) break;
    const std::size_t bytes = 2 * (std::size_t{get_word(file.data(), at + 2)} + 2);
    if (((first >> 8) & 0x7F) == 4) {
      const std::uint16_t count = get_word(file.data(), at + 36);
      for (std::size_t v : {std::size_t{0}, std::size_t{count} - 1}) {
        vornel::pointlist::PointRecord r;
        r.x = static_cast<std::int32_t>(get_file_long(file.data(), at + 38 + 8 * v));
        r.y = static_cast<std::int32_t>(get_file_long(file.data(), at + 42 + 8 * v));
        r.position = static_cast<std::int32_t>(at);
        records.push_back(r);
      }
    }
    at += bytes;
  }
  std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
    return std::tie(a.y, a.x, a.position) < std::tie(b.y, b.x, b.position);
  });
  return records;
}

}  // namespace

int main(int argc, char** argv) {
  const auto& [pieces, work, own_folder, file] = vornel::bench::contour_bench(argc, argv, "bench_joiner");
  const auto records = end_points(file);
  {
    vornel::pointlist::PointListWriter writer((work / "sorted.77777").string(), {2, vornel::pointlist::RecordKind::plain});
    for (const auto& r : records) writer.write(r);
    writer.close();
  }
  std::printf("design file: %ld pieces, %zu bytes; %zu point records\n", pieces, file.size(), records.size());

  const std::string maxverts = "QBT_maxverts=" + std::to_string(records.size());
  const std::vector<std::string> environment = {"QBT_segpid=77777", "QBT_segdim=2", maxverts,
                                                "MS_EXE=" VORNEL_BIN_DIR, "QBT_proc=vornel"};
  fs::current_path(work);
  const auto run = vornel::bench::run_sampled({VORNEL_BIN_DIR "/vornel", "-F", "pieces.dgn", "-ll", "10,11"},
                                              environment, "vornel.log");
  if (!run) {
    std::printf("cannot start vornel\n");
    return 1;
  }
  const double seconds = run->seconds;
  const long joiner_peak = run->peak_kib;
  const long host_peak = run->children_peak_kib;

  const int exit_status = vornel::bench::exit_code(run->status);
  std::printf("vornel exit status: %d (log: %s)\n", exit_status, (work / "vornel.log").c_str());
  std::printf("vornel: %.2f s for %ld pieces, %.0f pieces per second (target: at most %.0f s)\n", seconds, pieces,
              static_cast<double>(pieces) / seconds, kTargetSeconds);
  std::printf("peak memory: vornel %.1f MB, host %.1f MB, together %.1f MB (target: under 200 MB)\n",
              static_cast<double>(joiner_peak) / 1024.0, static_cast<double>(host_peak) / 1024.0,
              static_cast<double>(joiner_peak + host_peak) / 1024.0);
  if (own_folder && exit_status == 0) fs::remove_all(work);
  return exit_status == 0 ? 0 : 1;
}
