#pragma once
// The design file the chain and joiner benchmarks work on: contour-like
// linework cut into pieces and stored in scattered order, and the work folder
// it is written to.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/dgnmake/design_file_builder.hpp"

namespace vornel::bench {

// Wavy lines across the sheet, alternately on levels 10 and 11, each cut into
// pieces of three vertices that share their end points; `pieces` line
// strings in all, shuffled with a fixed seed so every run sees the same file.
dgnmake::DesignDescription contour_pieces(long pieces);

// A benchmark's design file and work folder.
struct ContourBench {
  long pieces = 0;
  std::filesystem::path work;
  bool own_folder = false;  // a temporary folder, removed after a good run
  std::vector<std::uint8_t> file;
};

// Reads the arguments [pieces (default 1000000)] [work folder], creates the
// folder (without one, PREFIX_PID in the temporary folder), and writes the
// contour design file of that many pieces to WORK/pieces.dgn.
ContourBench contour_bench(int argc, char** argv, const std::string& prefix);

}  // namespace vornel::bench
