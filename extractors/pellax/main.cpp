// pellax: writes the end points of the selected elements of a design file
// (and its reference files) to the run's point list file.
#include <string>
#include <vector>

#include "extractors/pellax/pellax_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return vornel::pellax::run_pellax(argc > 0 ? argv[0] : "pellax", args);
}
