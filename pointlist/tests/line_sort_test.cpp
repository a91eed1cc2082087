#include "pointlist/line_sort.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <random>
#include <string>

namespace vornel::pointlist {
namespace {

// The sorter's key reader must agree with the C library's "%ld" conversions
// on every line, including the ones its eight-bytes-at-a-time path handles.
TEST(ReadLineKeys, AgreesWithScanfOnRandomLines) {
  std::mt19937 random(20261211);
  const std::string alphabet = "0123456789012345678901234567890123456789      --+x\t\r";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 70);
  for (int trial = 0; trial < 20000; ++trial) {
    std::string line;
    for (int n = length(random); n > 0; --n) line += alphabet[pick(random)];
    long expected[4] = {0, 0, 0, 0};
    int matched = std::sscanf(line.c_str(), "%ld %ld %ld %ld", &expected[0], &expected[1],
                              &expected[2], &expected[3]);
    if (matched < 0) matched = 0;
    std::array<std::int64_t, 4> keys{};
    const std::size_t found = read_line_keys(line, keys);
    ASSERT_EQ(found, static_cast<std::size_t>(matched)) << '"' << line << '"';
    for (int k = 0; k < matched; ++k) ASSERT_EQ(keys[k], expected[k]) << '"' << line << '"';
  }
}

TEST(ReadLineKeys, EdgeValues) {
  struct Case {
    const char* line;
    std::size_t found;
    std::array<std::int64_t, 3> keys;
  } const cases[] = {
      {"          00           05       36", 3, {0, 5, 36}},
      {" -2147483648   2147483647       -1", 3, {-2147483648LL, 2147483647, -1}},
      {"12345678 1234567890123456 12345678901234567", 3,
       {12345678, 1234567890123456, 12345678901234567}},
      {"9223372036854775807 -9223372036854775808 99999999999999999999", 3,
       {INT64_MAX, INT64_MIN, INT64_MAX}},
      {"-99999999999999999999 1", 2, {INT64_MIN, 1, 0}},
      {"5-3 7", 3, {5, -3, 7}},
      {"5x3", 1, {5, 0, 0}},
      {"", 0, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    std::array<std::int64_t, 3> keys{};
    EXPECT_EQ(read_line_keys(c.line, keys), c.found);
    EXPECT_EQ(keys, c.keys);
  }
}

}  // namespace
}  // namespace vornel::pointlist
