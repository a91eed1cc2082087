// quillet: writes the end points of the elements an element list file names
// to the run's point list file.
#include <string>
#include <vector>

#include "extractors/quillet/quillet_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return vornel::quillet::run_quillet(argc > 0 ? argv[0] : "quillet", args);
}
