#include "bench/common/contour_pieces.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <unistd.h>

namespace vornel::bench {

namespace {

constexpr int kPiecesPerLine = 1000;
constexpr std::int32_t kStep = 100;  // UOR between vertices

}  // namespace

dgnmake::DesignDescription contour_pieces(long pieces) {
  using dgnmake::ElementSpec;
  using dgnmake::Point;
  dgnmake::DesignDescription d;
  const long lines = std::max(1L, (pieces + kPiecesPerLine - 1) / kPiecesPerLine);
  d.elements.reserve(static_cast<std::size_t>(std::max(0L, pieces)));
  long made = 0;
  for (long line = 0; line < lines && made < pieces; ++line) {
    const auto base = static_cast<std::int32_t>(line * 5000);
    const auto y = [&](long i) {
      return base + static_cast<std::int32_t>(1500.0 * std::sin(static_cast<double>(i) * 0.05 +
                                                                 static_cast<double>(line)));
    };
    for (long piece = 0; piece < kPiecesPerLine && made < pieces; ++piece, ++made) {
      ElementSpec e;
      e.kind = dgnmake::Kind::line_string;
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

ContourBench contour_bench(int argc, char** argv, const std::string& prefix) {
  ContourBench b;
  b.pieces = argc > 1 ? std::atol(argv[1]) : 1000000;
  b.own_folder = argc <= 2;
  b.work = b.own_folder ? std::filesystem::temp_directory_path() / (prefix + "_" + std::to_string(::getpid()))
                        : std::filesystem::path(argv[2]);
  std::filesystem::create_directories(b.work);
  b.file = dgnmake::build_design_file(contour_pieces(b.pieces));
  std::ofstream out(b.work / "pieces.dgn", std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.file.data()), static_cast<std::streamsize>(b.file.size()));
  return b;
}

}  // namespace vornel::bench
