#include "extractors/common/number_list.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

namespace vornel::extract {

int leading_int(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

double leading_double(std::string_view text) {
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

void for_each_listed(std::string_view list, int low_limit, int high_limit,
                     const std::function<void(int)>& take) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view item = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    if (item.empty()) continue;
    // The hyphen of a range follows the first number; a leading one is a sign.
    const std::size_t hyphen = item.find('-', 1);
    int first = leading_int(item);
    int last = hyphen == std::string_view::npos ? first : leading_int(item.substr(hyphen + 1));
    if (first > last) std::swap(first, last);
    first = std::max(first, low_limit);
    last = std::min(last, high_limit);
    for (int value = first; value <= last; ++value) take(value);
  }
}

}  // namespace vornel::extract
