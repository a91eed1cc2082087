// One pellax run: the design file and its reference files scanned, point
// records (or element list lines) and the run settings file written.
#pragma once

#include <string>
#include <vector>

namespace vornel::pellax {

// Runs pellax with the arguments after the program name and returns the
// exit code.
int run_pellax(const std::string& program, const std::vector<std::string>& args);

}  // namespace vornel::pellax
