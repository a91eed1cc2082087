// One quillet run: the list's design file opened, every referenced element
// of a handled kind reduced to its points, the run files written.
#pragma once

#include <string>
#include <vector>

namespace vornel::quillet {

// Runs quillet with the arguments after the program name; returns the exit code.
int run_quillet(const std::string& program, const std::vector<std::string>& args);

}  // namespace vornel::quillet
