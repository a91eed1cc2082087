#include "tools/dgntool/dump_line.hpp"

#include <cstdio>

namespace vornel::dgntool {

std::string DumpLine::quoted(const std::string& value) {
  std::string out = "\"";
  for (unsigned char c : value) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

void DumpLine::string(const std::string& key, const std::string& value) {
  add(key, quoted(value), quoted(value));
}

void DumpLine::numbers(const std::string& key, const std::vector<double>& values) {
  std::string json = "[";
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i != 0) {
      json += ',';
      text += ',';
    }
    json += number(values[i]);
    text += number(values[i]);
  }
  add(key, json + "]", text);
}

void DumpLine::points(const std::string& key, const std::vector<std::vector<double>>& values) {
  std::string json = "[";
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i != 0) {
      json += ',';
      text += ';';
    }
    json += '[';
    for (std::size_t k = 0; k < values[i].size(); ++k) {
      if (k != 0) {
        json += ',';
        text += ',';
      }
      json += number(values[i][k]);
      text += number(values[i][k]);
    }
    json += ']';
  }
  add(key, json + "]", text);
}

std::string DumpLine::json() const {
  std::string out = "{";
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i != 0) out += ',';
    out += quoted(fields_[i].key) + ':' + fields_[i].json;
  }
  return out + "}";
}

std::string DumpLine::text() const {
  std::string out;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (i != 0) out += ' ';
    out += fields_[i].key + '=' + fields_[i].text;
  }
  return out;
}

}  // namespace vornel::dgntool
