#include "tools/dgnmake/list_file_builder.hpp"

#include <charconv>
#include <sstream>

#include "tools/dgnmake/description.hpp"

namespace vornel::dgnmake {
namespace {

[[noreturn]] void fail(int line, const std::string& message) {
  throw DescriptionError("line " + std::to_string(line) + ": " + message);
}

long number(const std::string& text, long low, long high, int line) {
  long value = 0;
  int base = 10;
  std::string_view digits = text;
  if (digits.starts_with("0x")) {
    base = 16;
    digits.remove_prefix(2);
  }
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      value < low || value > high) {
    fail(line, "expected a number from " + std::to_string(low) + " to " + std::to_string(high) +
                   ": " + text);
  }
  return value;
}

void word(std::vector<std::uint8_t>& out, long v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void record_head(std::vector<std::uint8_t>& out, int type, long words_to_follow) {
  word(out, type << 8);
  word(out, words_to_follow);
}

}  // namespace

std::vector<std::uint8_t> make_list_file(const std::string& text) {
  std::vector<std::uint8_t> out;
  record_head(out, kListHeader, 2);
  word(out, 0);
  word(out, 0);
  std::istringstream lines(text);
  std::string line_text;
  int line = 0;
  while (std::getline(lines, line_text)) {
    ++line;
    if (const auto hash = line_text.find('#'); hash != std::string::npos) line_text.resize(hash);
    std::istringstream in(line_text);
    std::vector<std::string> t;
    for (std::string w; in >> w;) t.push_back(w);
    if (t.empty()) continue;
    if (t[0] == "file" && t.size() == 3) {
      const std::string& name = t[2];
      if (name.size() > 1000) fail(line, "name too long");
      const long padded = static_cast<long>((name.size() + 1) / 2 * 2);
      record_head(out, kListFileSpec, (4 + padded) / 2);
      word(out, number(t[1], 0, 65535, line));
      word(out, static_cast<long>(name.size()));
      out.insert(out.end(), name.begin(), name.end());
      if (name.size() % 2 != 0) out.push_back(0);
    } else if (t[0] == "element" && t.size() == 4) {
      record_head(out, kListElementRef, 4);
      word(out, number(t[1], 0, 65535, line));
      word(out, 0);
      word(out, number(t[2], 0, 65535, line));
      word(out, number(t[3], 0, 511, line));
    } else if (t[0] == "raw" && t.size() >= 3) {
      record_head(out, static_cast<int>(number(t[1], 0, 127, line)), number(t[2], 0, 65535, line));
      for (std::size_t i = 3; i < t.size(); ++i) word(out, number(t[i], 0, 65535, line));
    } else if (t[0] == "end" && t.size() == 1) {
      record_head(out, kListEnd, 0);
    } else {
      fail(line, "expected file, element, raw or end: " + line_text);
    }
  }
  return out;
}

}  // namespace vornel::dgnmake
