// Sorting the lines of a point list by their leading integer keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vornel::pointlist {

// Reads up to keys.size() blank-separated integers from the start of a line
// the way "%ld" conversions do (optional sign, digits; values beyond 64 bits
// are clamped). Returns how many were read; reading stops at the first field
// that is not a number.
std::size_t read_line_keys(std::string_view line, std::span<std::int64_t> keys);

// A point list held in memory: the file's bytes, each line ending in '\n'.
struct LineBuffer {
  std::vector<char> text;
  std::size_t line_count = 0;
};

// Makes sure the last line ends in a line feed and counts the lines.
void finish_line_buffer(LineBuffer& buffer);

// Where the sort found a line without a point record.
struct SortFailure {
  std::size_t line_number = 0;  // counted from 1; 0 means no failure
};

// Orders the lines by their first `key_count` integers (3 or 4), smaller
// first, lines with equal keys in file order. A line needs at least two
// numbers (Y and X); missing later keys count as 0. Returns the start offset
// of every line in sorted order, or sets `failure` and returns nothing.
std::vector<std::size_t> sorted_line_starts(const LineBuffer& buffer, int key_count,
                                            SortFailure& failure);

}  // namespace vornel::pointlist
