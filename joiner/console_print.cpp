#include "joiner/console_print.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace vornel::joiner {

void print(std::ostream& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length > 0) {
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    out.write(text.data(), length);
  }
  va_end(args);
}

}  // namespace vornel::joiner
