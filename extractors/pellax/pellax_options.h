// pellax's command line: its own options, the selection they make, and the
// joiner's options it steps over.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "extractors/common/geometry_operations.h"
#include "extractors/common/weight_table.h"

namespace vornel::pellax {

inline constexpr int kMaxReferenceFiles = 10;

struct Selection {
  std::uint64_t types = (1ULL << 2) | (1ULL << 3) | (1ULL << 10) | (1ULL << 11);  // 3, 4, 11, 12
  std::uint64_t levels = (1ULL << 63) - 1;                                      // 1-63
  std::uint8_t classes = 0x05;                                                  // 0 and 2
  std::array<std::uint64_t, 4> colors = {~0ULL, ~0ULL, ~0ULL, ~0ULL};
  std::uint32_t weights = 0x7FFFFFFF;  // 0-30
  std::uint8_t styles = 0x7F;          // 0-6
  bool check_colors = false;
  bool check_styles = false;
  bool check_weights = false;
  bool check_entities = false;
  std::vector<std::uint8_t> entities;  // 65,536 flags once -E is given
  int user_word = 0;                   // -u
};

struct Options {
  std::string design_file;
  std::vector<std::string> reference_files;
  Selection selection;
  bool stroke_arcs = false;
  bool stroke_bsplines = false;
  bool stroke_curves = false;
  extract::StrokeTolerances tolerances;  // master units
  extract::WeightTable weights;
  bool weights_off = false;  // -f, -g
  int forced_weighted = 0;   // -X n
  bool node_link = false;    // -PN, -PNU, -ID_N2L, -ID_L2N
  bool interior = false;     // -i
  bool element_list = false; // -r
  int v_check = 0;           // -v
  bool debug = false;        // -d
};

enum class ParseResult { run, usage, invalid_argument, bad_v_check };

// Reads the arguments after the program name. Messages of the reading
// (reference file limit, debug traces, the failures) are appended to
// `messages` exactly as they are printed.
ParseResult parse_options(const std::vector<std::string>& args, Options& options,
                          std::string& messages);

// The weight option in force: 0 with -f or -g, else the kind of the last
// weight option.
int weight_option(const Options& options);

extern const char* const kUsageText;

}  // namespace vornel::pellax
