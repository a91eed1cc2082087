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
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tools/dgnmake/design_file_builder.hpp"

namespace {

namespace fs = std::filesystem;
using vornel::dgnmake::DesignDescription;
using vornel::dgnmake::ElementSpec;
using vornel::dgnmake::Kind;
using vornel::dgnmake::Point;

constexpr double kTargetSeconds = 8.0;
constexpr int kPiecesPerLine = 1000;
constexpr std::int32_t kStep = 100;  // UOR between vertices

// Wavy lines across the sheet, alternately on levels 10 and 11, each cut
// into pieces of three vertices that share their end points.
DesignDescription contour_pieces(long pieces) {
  DesignDescription d;
  const long lines = std::max(1L, (pieces + kPiecesPerLine - 1) / kPiecesPerLine);
  d.elements.reserve(static_cast<std::size_t>(pieces));
  long made = 0;
  for (long line = 0; line < lines && made < pieces; ++line) {
    const auto base = static_cast<std::int32_t>(line * 5000);
    const auto y = [&](long i) {
      return base + static_cast<std::int32_t>(1500.0 * std::sin(static_cast<double>(i) * 0.05 +
                                                                 static_cast<double>(line)));
    };
    for (long piece = 0; piece < kPiecesPerLine && made < pieces; ++piece, ++made) {
      ElementSpec e;
      e.kind = Kind::line_string;
      e.attributes.level = line % 2 == 0 ? 10 : 11;
      for (long v = 2 * piece; v <= 2 * piece + 2; ++v) {
        e.points.push_back(Point{static_cast<std::int32_t>(v) * kStep, y(v), 0});
      }
      d.elements.push_back(std::move(e));
    }
  }
  std::mt19937 random(12345);
  std::shuffle(d.elements.begin(), d.elements.end(), random);
  return d;
}

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
  const long pieces = argc > 1 ? std::atol(argv[1]) : 1000000;
  const bool own_folder = argc <= 2;
  const fs::path work = own_folder ? fs::temp_directory_path() / ("bench_chain_" + std::to_string(::getpid()))
                                   : fs::path(argv[2]);
  fs::create_directories(work);

  const std::vector<std::uint8_t> file = vornel::dgnmake::build_design_file(contour_pieces(pieces));
  {
    std::ofstream out(work / "pieces.dgn", std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  std::printf("design file: %ld pieces, %zu bytes\n", pieces, file.size());

  const std::string in_work = "cd '" + work.string() + "' && export PATH='" VORNEL_BIN_DIR
                              "':\"$PATH\" MS_EXE='" VORNEL_BIN_DIR "' QBT_proc=vornel && ";
  const auto timed = [](const std::string& command, int& status) {
    const auto start = std::chrono::steady_clock::now();
    status = std::system(command.c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
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

  const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
