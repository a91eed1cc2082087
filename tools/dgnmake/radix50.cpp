#include "tools/dgnmake/radix50.hpp"

namespace vornel::dgnmake {
namespace {

constexpr std::string_view kAlphabet = " ABCDEFGHIJKLMNOPQRSTUVWXYZ$.?0123456789";

int code_of(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? 0 : static_cast<int>(at);
}

}  // namespace

std::array<std::uint16_t, 2> radix50_encode(std::string_view name) {
  std::array<std::uint16_t, 2> words{};
  for (std::size_t w = 0; w < 2; ++w) {
    int value = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      const std::size_t i = 3 * w + k;
      value = value * 40 + (i < name.size() ? code_of(name[i]) : 0);
    }
    words[w] = static_cast<std::uint16_t>(value);
  }
  return words;
}

std::string radix50_decode(const std::array<std::uint16_t, 2>& words) {
  std::string name;
  for (std::uint16_t w : words) {
    const int value = w;
    const int codes[] = {value / 1600 % 40, value / 40 % 40, value % 40};
    for (int c : codes) name += kAlphabet[static_cast<std::size_t>(c)];
  }
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

}  // namespace vornel::dgnmake
