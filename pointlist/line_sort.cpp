#include "pointlist/line_sort.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <thread>

namespace vornel::pointlist {

namespace {

// Eight bytes at a time: point lists are mostly blanks and digits, and a
// million lines of them are parsed while the user waits. Bytes are loaded
// little-endian, so the first character is the lowest byte.
constexpr std::uint64_t kOnes = 0x0101010101010101;

std::uint64_t load8(const char* at) {
  std::uint64_t chunk;
  std::memcpy(&chunk, at, sizeof chunk);
  return chunk;
}

// Index of the first byte that is not a blank space, 8 when all are.
int leading_spaces(std::uint64_t chunk) {
  const std::uint64_t other = chunk ^ (kOnes * ' ');
  return other ? __builtin_ctzll(other) / 8 : 8;
}

// Index of the first byte that is not a decimal digit, 8 when all are.
int leading_digits(std::uint64_t chunk) {
  const std::uint64_t high = kOnes * 0xF0;
  const std::uint64_t other = ((chunk & high) ^ (kOnes * '0')) |
                              (((chunk + kOnes * 6) & high) ^ (kOnes * '0'));
  return other ? __builtin_ctzll(other) / 8 : 8;
}

// The value of eight digit characters, the first the most significant.
std::uint64_t eight_digit_value(std::uint64_t chunk) {
  std::uint64_t v = chunk - kOnes * '0';
  v = v * 10 + (v >> 8);
  return (((v & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
          (((v >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
         32;
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
unsigned digit_value(char c) { return static_cast<unsigned>(c - '0'); }

const char* skip_blanks(const char* at, const char* end) {
  while (end - at >= 8) {
    const int n = leading_spaces(load8(at));
    at += n;
    if (n < 8) break;
  }
  while (at < end && is_blank(*at)) ++at;
  return at;
}

// Reads the digits at `at` into `magnitude`; sets `overflow` past 64 bits.
const char* read_digits(const char* at, const char* end, std::uint64_t& magnitude,
                        bool& overflow) {
  magnitude = 0;
  int digits = 0;
  // Whole numbers up to sixteen digits take the fast path; their values fit.
  while (end - at >= 8 && digits <= 8) {
    const std::uint64_t chunk = load8(at);
    const int n = leading_digits(chunk);
    if (n == 0) return at;
    if (n == 8) {
      magnitude = magnitude * 100000000 + eight_digit_value(chunk);
    } else {
      // Shift the digits to the top; the zero bytes below read as leading '0's.
      const int unused_bits = (8 - n) * 8;
      static constexpr std::array<std::uint64_t, 8> kScale = {1,      10,      100,      1000,
                                                              10000,  100000,  1000000,  10000000};
      magnitude = magnitude * kScale[n] +
                  eight_digit_value((chunk << unused_bits) | ((kOnes * '0') >> (64 - unused_bits)));
      return at + n;
    }
    at += 8;
    digits += 8;
  }
  for (; at < end && digit_value(*at) <= 9; ++at) {
    overflow = overflow || __builtin_mul_overflow(magnitude, 10u, &magnitude) ||
               __builtin_add_overflow(magnitude, digit_value(*at), &magnitude);
  }
  return at;
}

}  // namespace

std::size_t read_line_keys(std::string_view line, std::span<std::int64_t> keys) {
  constexpr std::uint64_t kMagnitudeLimit = std::uint64_t{1} << 63;  // |INT64_MIN|
  const char* at = line.data();
  const char* const end = at + line.size();
  std::size_t count = 0;
  while (count < keys.size()) {
    at = skip_blanks(at, end);
    bool negative = false;
    if (at < end && (*at == '-' || *at == '+')) negative = *at++ == '-';
    if (at == end || digit_value(*at) > 9) break;
    std::uint64_t magnitude = 0;
    bool overflow = false;
    at = read_digits(at, end, magnitude, overflow);
    // Out-of-range values clamp to the nearest 64-bit limit.
    if (overflow || magnitude >= kMagnitudeLimit) {
      keys[count++] = negative ? std::numeric_limits<std::int64_t>::min()
                               : std::numeric_limits<std::int64_t>::max();
    } else {
      const auto value = static_cast<std::int64_t>(magnitude);
      keys[count++] = negative ? -value : value;
    }
  }
  return count;
}

namespace {

// One line's sort key: its numbers, then its place in the file, which keeps
// equal lines in input order and points back at the text. Narrow keys and
// offsets keep a million-line sort within twice the file's size.
template <int KeyCount, typename Key, typename Offset>
struct Entry {
  std::array<Key, KeyCount> keys;
  Offset start;

  // `wide` holds KeyCount values already known to fit Key.
  static Entry make(const std::array<std::int64_t, 4>& wide, std::size_t line_start) {
    Entry entry{};
    for (int k = 0; k < KeyCount; ++k) entry.keys[k] = static_cast<Key>(wide[k]);
    entry.start = static_cast<Offset>(line_start);
    return entry;
  }

  std::size_t line_start() const { return start; }

  bool operator<(const Entry& other) const {
    for (int k = 0; k < KeyCount; ++k) {
      if (keys[k] != other.keys[k]) return keys[k] < other.keys[k];
    }
    return start < other.start;
  }
};

// The common 2-D case packs Y, X, position and line start into one 128-bit
// number whose unsigned order is the order of the keys: one comparison
// instead of four.
__extension__ using Packed = unsigned __int128;

template <>
struct Entry<3, std::int32_t, std::uint32_t> {
  Packed packed;

  static Entry make(const std::array<std::int64_t, 4>& wide, std::size_t line_start) {
    // Flipping the sign bit turns signed order into unsigned order.
    auto biased = [](std::int64_t value) {
      return static_cast<Packed>(static_cast<std::uint32_t>(value) ^ 0x80000000u);
    };
    return {biased(wide[0]) << 96 | biased(wide[1]) << 64 | biased(wide[2]) << 32 |
            static_cast<std::uint32_t>(line_start)};
  }

  std::size_t line_start() const { return static_cast<std::uint32_t>(packed); }

  bool operator<(const Entry& other) const { return packed < other.packed; }
};

enum class Fill { ok, too_wide, malformed };

// The sorted keys of the lines in text[begin, end); `begin` starts a line.
template <int KeyCount, typename Key, typename Offset>
struct SortedPart {
  std::vector<Entry<KeyCount, Key, Offset>> entries;
  Fill fill = Fill::ok;
  std::size_t bad_line = 0;  // counted from 1 within the part
};

template <int KeyCount, typename Key, typename Offset>
void sort_part(std::string_view text, std::size_t begin, std::size_t end,
               SortedPart<KeyCount, Key, Offset>& part) {
  auto& entries = part.entries;
  // Records are at least 26 bytes long; reserving address space for that many
  // touches no memory until the entries are written.
  entries.reserve((end - begin) / 26 + 1);
  std::array<std::int64_t, 4> wide{};
  std::size_t start = begin;
  while (start < end) {
    const void* newline = std::memchr(text.data() + start, '\n', end - start);
    const std::size_t stop =
        newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - text.data()) : end;
    wide.fill(0);
    const std::size_t found =
        read_line_keys(text.substr(start, stop - start), std::span(wide).first(KeyCount));
    if (found < 2) {
      part.fill = Fill::malformed;
      part.bad_line = entries.size() + 1;
      return;
    }
    for (int k = 0; k < KeyCount; ++k) {
      if (wide[k] < std::numeric_limits<Key>::min() || wide[k] > std::numeric_limits<Key>::max()) {
        part.fill = Fill::too_wide;
        return;
      }
    }
    entries.push_back(Entry<KeyCount, Key, Offset>::make(wide, start));
    start = stop + 1;
  }
  std::sort(entries.begin(), entries.end());
}

// Where the second half of the text starts: the line after its middle.
std::size_t middle_line_start(std::string_view text) {
  const std::size_t newline = text.find('\n', text.size() / 2);
  return newline == std::string_view::npos ? text.size() : newline + 1;
}

template <int KeyCount, typename Key, typename Offset>
Fill sort_with(std::string_view text, const LineSink& sink, bool& completed,
               SortFailure& failure) {
  // Large lists are parsed and sorted in two halves side by side, then merged
  // as they are written.
  constexpr std::size_t kSplitAbove = 1 << 20;
  const std::size_t middle = text.size() > kSplitAbove ? middle_line_start(text) : text.size();
  SortedPart<KeyCount, Key, Offset> first;
  SortedPart<KeyCount, Key, Offset> second;
  {
    std::jthread helper;
    if (middle < text.size())
      helper = std::jthread([&] { sort_part(text, middle, text.size(), second); });
    sort_part(text, 0, middle, first);
  }
  for (const auto* part : {&first, &second}) {
    if (part->fill == Fill::too_wide) return Fill::too_wide;
  }
  if (first.fill == Fill::malformed || second.fill == Fill::malformed) {
    failure.line_number = first.fill == Fill::malformed
                              ? first.bad_line
                              : first.entries.size() + second.bad_line;
    return Fill::malformed;
  }

  // Sorted lines lie scattered over the text: fetch a few ahead so that the
  // copy does not wait on memory line by line.
  constexpr std::size_t kLookahead = 16;
  auto a = first.entries.begin();
  auto b = second.entries.begin();
  const auto a_end = first.entries.end();
  const auto b_end = second.entries.end();
  completed = true;
  while (a != a_end || b != b_end) {
    const bool take_a = b == b_end || (a != a_end && *a < *b);
    auto& next = take_a ? a : b;
    const auto& next_end = take_a ? a_end : b_end;
    if (next_end - next > static_cast<std::ptrdiff_t>(kLookahead))
      __builtin_prefetch(text.data() + next[kLookahead].line_start());
    const std::string_view rest = text.substr(next->line_start());
    ++next;
    if (!sink(rest.substr(0, rest.find('\n')))) {
      completed = false;
      break;
    }
  }
  return Fill::ok;
}

template <int KeyCount>
bool sort_by_keys(std::string_view text, const LineSink& sink, SortFailure& failure) {
  bool completed = false;
  const bool small_file = text.size() <= std::numeric_limits<std::uint32_t>::max();
  const Fill fill =
      small_file ? sort_with<KeyCount, std::int32_t, std::uint32_t>(text, sink, completed, failure)
                 : sort_with<KeyCount, std::int32_t, std::uint64_t>(text, sink, completed, failure);
  if (fill == Fill::too_wide)
    sort_with<KeyCount, std::int64_t, std::uint64_t>(text, sink, completed, failure);
  return completed;
}

}  // namespace

bool sort_lines(std::string_view text, int key_count, const LineSink& sink, SortFailure& failure) {
  failure = {};
  return key_count == 3 ? sort_by_keys<3>(text, sink, failure)
                        : sort_by_keys<4>(text, sink, failure);
}

}  // namespace vornel::pointlist
