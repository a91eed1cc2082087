// The two kinds of comma-separated option values, and C-style number reading.
//
// Split lists cut the value at commas and read each field as C atoi/atof
// would. Digit lists (-L, -S, -zc) build each field's number from its decimal
// digits alone and leave the field's first character to the option.
#pragma once

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

namespace vornel::joiner {

// C atoi: leading blanks, optional sign, digits; stops at the first other
// character; no digits gives 0. Values beyond int saturate instead of
// overflowing.
int c_atoi(std::string_view text);

// C atof: as strtod reads the text (fraction, exponent); nothing readable gives 0.
double c_atof(std::string_view text);

// Narrowing to the record's 16-bit fields saturates, so 70000 stays large
// rather than turning into a small, plausible-looking number.
constexpr std::int16_t to_int16(long long value) {
  if (value > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
  if (value < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
  return static_cast<std::int16_t>(value);
}

// A value cut at commas. Fields are numbered from 1; a field past the end of
// the list is empty.
class SplitList {
 public:
  explicit SplitList(std::string_view value);

  std::string_view field(int number) const;
  // Field `number` and everything after it, commas included.
  std::string_view rest(int number) const;
  int count() const { return static_cast<int>(fields_.size()); }

  int integer(int number) const { return c_atoi(field(number)); }
  double real(int number) const { return c_atof(field(number)); }

 private:
  std::string_view value_;
  std::vector<std::string_view> fields_;
};

// One field of a digit list.
struct DigitField {
  char lead = '\0';          // the field's first character, '\0' when empty
  long long number = 0;      // its digits read as one decimal number (saturated)
  bool has_digits = false;
  bool empty = true;
};

// Reads field `number` (from 1) of a digit list value.
DigitField digit_field(std::string_view value, int number);

}  // namespace vornel::joiner
