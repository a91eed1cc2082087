// The joiner's usage text and banners.
#pragma once

#include <ostream>

namespace vornel::joiner {

inline constexpr double kVornelVersion = 5.6;

void print_usage(std::ostream& out);
// "Interpreting ..." at start, before the options are read.
void print_start_banner(std::ostream& out);
// "RUNNING ..." once the options have been read and derived.
void print_running_banner(std::ostream& out);

}  // namespace vornel::joiner
