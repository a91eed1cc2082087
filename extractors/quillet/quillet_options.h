// quillet's command line: its own options and the joiner's it steps over.
#pragma once

#include <string>
#include <vector>

#include "extractors/common/geometry_operations.h"
#include "extractors/common/weight_table.h"

namespace vornel::quillet {

struct Options {
  std::string list_file;                 // -U
  bool coordinates_only = false;         // -O E...
  extract::StrokeTolerances tolerances;  // master units
  extract::WeightTable weights;
};

enum class ParseResult { run, invalid_argument, node_options };

// Reads the arguments after the program name; the failure messages are
// appended to `messages` as they are printed.
ParseResult parse_options(const std::vector<std::string>& args, Options& options,
                          std::string& messages);

}  // namespace vornel::quillet
