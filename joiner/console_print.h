// printf-style output to a stream: the joiner's messages are C format
// strings, kept byte for byte, and go to whatever stream the caller hands in
// (standard output in the program, a string stream in tests).
#pragma once

#include <ostream>

namespace vornel::joiner {

void print(std::ostream& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace vornel::joiner
