#pragma once
// One output line of the dump: named fields, written as "key=value" text or
// as a JSON object with the same keys in the same order.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace vornel::dgntool {

class DumpLine {
 public:
  void integer(const std::string& key, std::int64_t value) {
    add(key, std::to_string(value), std::to_string(value));
  }
  void flag(const std::string& key, bool value) {
    add(key, value ? "true" : "false", value ? "1" : "0");
  }
  void real(const std::string& key, double value) { add(key, number(value), number(value)); }
  void string(const std::string& key, const std::string& value);
  // A list of numbers: JSON array, text "a,b,c".
  void numbers(const std::string& key, const std::vector<double>& values);
  // A list of points: JSON array of arrays, text "x,y;x,y".
  void points(const std::string& key, const std::vector<std::vector<double>>& values);
  // Preformatted parts (lists of objects).
  void raw(const std::string& key, std::string json, std::string text) {
    add(key, std::move(json), std::move(text));
  }

  std::string json() const;
  std::string text() const;

  static std::string number(double value) {
    char buffer[32];
    // Whole numbers in full: the shortest form would write 400000 as 4e+05.
    if (std::trunc(value) == value && std::fabs(value) < 1e15) {
      const auto whole = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
      return std::string(buffer, whole.ptr);
    }
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
  }
  static std::string quoted(const std::string& value);

 private:
  void add(std::string key, std::string json, std::string text) {
    fields_.push_back({std::move(key), std::move(json), std::move(text)});
  }
  struct Field {
    std::string key, json, text;
  };
  std::vector<Field> fields_;
};

}  // namespace vornel::dgntool
