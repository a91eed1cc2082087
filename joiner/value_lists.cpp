#include "joiner/value_lists.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace vornel::joiner {

namespace {

constexpr long long kDigitCeiling = std::numeric_limits<int>::max();

bool is_c_space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int c_atoi(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_c_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long magnitude = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kDigitCeiling + 1) magnitude = kDigitCeiling + 1;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > kDigitCeiling) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

double c_atof(std::string_view text) {
  const std::string terminated(text);
  return std::strtod(terminated.c_str(), nullptr);
}

SplitList::SplitList(std::string_view value) : value_(value) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = value.find(',', start);
    if (comma == std::string_view::npos) {
      fields_.push_back(value.substr(start));
      break;
    }
    fields_.push_back(value.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string_view SplitList::field(int number) const {
  if (number < 1 || number > count()) return {};
  return fields_[static_cast<std::size_t>(number - 1)];
}

std::string_view SplitList::rest(int number) const {
  if (number < 1 || number > count()) return {};
  const std::string_view first = fields_[static_cast<std::size_t>(number - 1)];
  return value_.substr(static_cast<std::size_t>(first.data() - value_.data()));
}

DigitField digit_field(std::string_view value, int number) {
  const std::string_view text = SplitList(value).field(number);
  DigitField result;
  if (text.empty()) return result;
  result.empty = false;
  result.lead = text.front();
  for (const char c : text) {
    if (!is_digit(c)) continue;
    result.has_digits = true;
    result.number = result.number * 10 + (c - '0');
    if (result.number > kDigitCeiling) result.number = kDigitCeiling;
  }
  return result;
}

}  // namespace vornel::joiner
