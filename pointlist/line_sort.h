// Sorting the lines of a point list by their leading integer keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace vornel::pointlist {

// Reads up to keys.size() integers from the start of a line the way
// sscanf("%ld %ld ...") does: blanks are skipped, each number is an optional
// sign and digits, values beyond 64 bits are clamped. Returns how many were
// read; reading stops where no number starts.
std::size_t read_line_keys(std::string_view line, std::span<std::int64_t> keys);

// Where the sort found a line without a point record.
struct SortFailure {
  std::size_t line_number = 0;  // counted from 1; 0 means no failure
};

// Receives the lines in sorted order, each without its line feed; returns
// false to stop early (a failed write).
using LineSink = std::function<bool(std::string_view line)>;

// Orders the lines of `text` by their first `key_count` integers (3 or 4),
// smaller first, lines with equal keys in file order, and hands them to
// `sink`. The last line need not end in a line feed. A line needs at least
// two numbers (Y and X); missing later keys count as 0. Returns false when
// the sink stopped or a line holds no point (then `failure` names it, and
// the sink has seen nothing).
bool sort_lines(std::string_view text, int key_count, const LineSink& sink, SortFailure& failure);

}  // namespace vornel::pointlist
