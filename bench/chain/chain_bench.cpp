// Times the whole chain - vornel.pl running pellax, sorvik and vornel - on a
// design file of contour-like linework cut into pieces and stored in
// scattered order, and prints the elements per second.
//
//   bench_chain [pieces (default 1000000)] [work folder (default: a temporary one)]
//
// Target: 1,000,000 pieces in at most 8 seconds. The extractor and the
// sorter are also timed on their own, so the joiner's share shows. The extractor writes at
// most 1,250,000 point records from one design file (625,000 two-point
// pieces) and says so; the figure printed counts the elements it took.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/common/contour_pieces.h"
#include "bench/common/process_timing.h"

namespace {

namespace fs = std::filesystem;

constexpr double kTargetSeconds = 8.0;

// The element count of the extractor's last "elements identified" line.
long elements_identified(const fs::path& log) {
  std::ifstream in(log);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t at = text.rfind(" elements identified");
  if (at == std::string::npos) return 0;
  std::size_t start = at;
  while (start > 0 && text[start - 1] == ' ') --start;
  while (start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1])) != 0) --start;
  return std::atol(text.c_str() + start);
}

}  // namespace

int main(int argc, char** argv) {
  const auto& [pieces, work, own_folder, file] = vornel::bench::contour_bench(argc, argv, "bench_chain");
  std::printf("design file: %ld pieces, %zu bytes\n", pieces, file.size());

  const std::string in_work = "cd '" + work.string() + "' && export PATH='" VORNEL_BIN_DIR
                              "':\"$PATH\" MS_EXE='" VORNEL_BIN_DIR "' QBT_proc=vornel && ";
  const auto timed = vornel::bench::timed_shell;
  int step_status = 0;
  const double extract_seconds = timed(
      in_work + "QBT_segpid=bench pellax -F pieces.dgn -ll 10,11 > extract.log 2>&1", step_status);
  const double sort_seconds = timed(in_work +
                                        "sed -n 's/^set /export /p' dimen.bench > settings.sh && "
                                        ". ./settings.sh && sorvik startstp.bench sorted.bench "
                                        "> sort.log 2>&1",
                                    step_status);
  std::printf("pellax alone: %.2f s, sorvik alone: %.2f s\n", extract_seconds, sort_seconds);

  int status = 0;
  const double seconds =
      timed(in_work + "perl -S vornel.pl -F pieces.dgn -ll 10,11 > chain.log 2>&1", status);

  const int exit_status = vornel::bench::exit_code(status);
  std::printf("chain exit status: %d (log: %s)\n", exit_status, (work / "chain.log").c_str());
  const long taken = elements_identified(work / "chain.log");
  if (taken < pieces) {
    std::printf("the extractor stopped at its record limit: %ld of %ld pieces taken\n", taken,
                pieces);
  }
  std::printf("whole chain: %.2f s, %.0f elements per second (target: at most %.0f s)\n", seconds,
              static_cast<double>(taken) / seconds, kTargetSeconds);
  if (own_folder && exit_status == 0) fs::remove_all(work);
  return exit_status == 0 ? 0 : 1;
}
