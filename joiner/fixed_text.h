// A text held in a fixed byte buffer, always terminated by a zero byte.
// N is the buffer size, so at most N - 1 characters fit.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace vornel::joiner {

template <std::size_t N>
class FixedText {
  static_assert(N >= 2, "a fixed text holds at least one character");

 public:
  static constexpr std::size_t capacity = N - 1;

  constexpr FixedText() = default;

  // Replaces the text when it fits; a text that does not fit leaves the
  // buffer unchanged and returns false, so the caller can refuse it.
  constexpr bool assign(std::string_view text) {
    if (text.size() > capacity) return false;
    bytes_.fill('\0');
    std::copy(text.begin(), text.end(), bytes_.begin());
    return true;
  }

  // Replaces the text with as much of it as fits.
  constexpr void assign_cut(std::string_view text) {
    assign(text.substr(0, std::min(text.size(), capacity)));
  }

  constexpr std::string_view view() const { return std::string_view(bytes_.data()); }
  constexpr const char* c_str() const { return bytes_.data(); }
  constexpr bool empty() const { return bytes_[0] == '\0'; }
  constexpr char front() const { return bytes_[0]; }
  constexpr const std::array<char, N>& bytes() const { return bytes_; }

  friend constexpr bool operator==(const FixedText& text, std::string_view other) {
    return text.view() == other;
  }

 private:
  std::array<char, N> bytes_{};
};

// A fixed array whose entries are numbered from 1, as the slope-break
// intervals are. Access outside 1..N is a programming error and throws.
template <typename T, std::size_t N>
class NumberedArray {
 public:
  static constexpr int count = static_cast<int>(N);

  constexpr T& operator[](int number) { return items_.at(index(number)); }
  constexpr const T& operator[](int number) const { return items_.at(index(number)); }

  static constexpr bool holds(int number) { return number >= 1 && number <= count; }

 private:
  static constexpr std::size_t index(int number) {
    return static_cast<std::size_t>(number - 1);
  }
  std::array<T, N> items_{};
};

}  // namespace vornel::joiner
