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

// The arguments of both benchmarks: [pieces (default 1000000)] [work folder].
struct PiecesArguments {
  long pieces = 0;
  std::filesystem::path work;
  bool own_folder = false;  // a temporary folder, removed after a good run
};

// Reads the arguments and creates the work folder; without one it is
// PREFIX_PID in the temporary folder.
PiecesArguments pieces_arguments(int argc, char** argv, const std::string& prefix);

// Builds the contour design file of `pieces` pieces, writes it to
// WORK/pieces.dgn and returns its bytes.
std::vector<std::uint8_t> write_contour_design(const std::filesystem::path& work, long pieces);

}  // namespace vornel::bench
