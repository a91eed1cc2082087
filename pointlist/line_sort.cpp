#include "pointlist/line_sort.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace vornel::pointlist {

std::size_t read_line_keys(std::string_view line, std::span<std::int64_t> keys) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::size_t i = 0;
  std::size_t count = 0;
  while (count < keys.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    if (i >= line.size() || line[i] < '0' || line[i] > '9') break;
    // Accumulate toward the sign so that the most negative value fits.
    std::int64_t value = 0;
    bool clamped = false;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
      const int digit = line[i] - '0';
      if (clamped) continue;
      if (negative ? value < (kMin + digit) / 10 : value > (kMax - digit) / 10) {
        value = negative ? kMin : kMax;
        clamped = true;
      } else {
        value = value * 10 + (negative ? -digit : digit);
      }
    }
    keys[count++] = value;
    if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') break;
  }
  return count;
}

void finish_line_buffer(LineBuffer& buffer) {
  if (!buffer.text.empty() && buffer.text.back() != '\n') buffer.text.push_back('\n');
  buffer.line_count =
      static_cast<std::size_t>(std::count(buffer.text.begin(), buffer.text.end(), '\n'));
}

namespace {

// One line's sort key: its numbers, then its place in the file, which keeps
// equal lines in input order and points back at the text. Narrow keys and
// offsets keep a million-line sort within twice the file's size.
template <int KeyCount, typename Key, typename Offset>
struct Entry {
  std::array<Key, KeyCount> keys;
  Offset start;

  bool operator<(const Entry& other) const {
    if (keys != other.keys) return keys < other.keys;
    return start < other.start;
  }
};

enum class Fill { ok, too_wide, malformed };

template <int KeyCount, typename Key, typename Offset>
Fill fill_entries(const LineBuffer& buffer, std::vector<Entry<KeyCount, Key, Offset>>& entries,
                  SortFailure& failure) {
  entries.clear();
  entries.reserve(buffer.line_count);
  const char* text = buffer.text.data();
  std::size_t start = 0;
  std::array<std::int64_t, 4> wide{};
  while (start < buffer.text.size()) {
    const void* newline = std::memchr(text + start, '\n', buffer.text.size() - start);
    const std::size_t end = static_cast<const char*>(newline) - text;
    wide.fill(0);
    const std::size_t found =
        read_line_keys({text + start, end - start}, std::span(wide).first(KeyCount));
    if (found < 2) {
      failure.line_number = entries.size() + 1;
      return Fill::malformed;
    }
    Entry<KeyCount, Key, Offset> entry{};
    for (int k = 0; k < KeyCount; ++k) {
      if (wide[k] < std::numeric_limits<Key>::min() || wide[k] > std::numeric_limits<Key>::max())
        return Fill::too_wide;
      entry.keys[k] = static_cast<Key>(wide[k]);
    }
    entry.start = static_cast<Offset>(start);
    entries.push_back(entry);
    start = end + 1;
  }
  return Fill::ok;
}

template <int KeyCount, typename Key, typename Offset>
Fill sort_with(const LineBuffer& buffer, std::vector<std::size_t>& starts, SortFailure& failure) {
  std::vector<Entry<KeyCount, Key, Offset>> entries;
  const Fill fill = fill_entries(buffer, entries, failure);
  if (fill != Fill::ok) return fill;
  std::sort(entries.begin(), entries.end());
  starts.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) starts[i] = entries[i].start;
  return Fill::ok;
}

template <int KeyCount>
std::vector<std::size_t> sort_by_keys(const LineBuffer& buffer, SortFailure& failure) {
  std::vector<std::size_t> starts;
  const bool small_file = buffer.text.size() <= std::numeric_limits<std::uint32_t>::max();
  Fill fill = small_file ? sort_with<KeyCount, std::int32_t, std::uint32_t>(buffer, starts, failure)
                         : sort_with<KeyCount, std::int32_t, std::uint64_t>(buffer, starts, failure);
  if (fill == Fill::too_wide)
    fill = sort_with<KeyCount, std::int64_t, std::uint64_t>(buffer, starts, failure);
  if (fill != Fill::ok) starts.clear();
  return starts;
}

}  // namespace

std::vector<std::size_t> sorted_line_starts(const LineBuffer& buffer, int key_count,
                                            SortFailure& failure) {
  failure = {};
  return key_count == 3 ? sort_by_keys<3>(buffer, failure) : sort_by_keys<4>(buffer, failure);
}

}  // namespace vornel::pointlist
