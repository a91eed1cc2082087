#include "host/database/literal_parameters.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace vornel::host::database {

namespace {

bool identifier_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }
bool digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool has_ordinal_clause(std::string_view sql) {
  std::string lower(sql);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const char* clause : {"order", "group"}) {
    for (std::size_t at = lower.find(clause); at != std::string::npos; at = lower.find(clause, at + 1)) {
      std::size_t next = at + 5;
      while (next < lower.size() && std::isspace(static_cast<unsigned char>(lower[next]))) ++next;
      if (lower.compare(next, 2, "by") == 0) return true;
    }
  }
  return false;
}

// Index one past the quoted run that starts at `start` with quote `close`
// (doubled quotes inside), or npos when it never closes.
std::size_t end_of_quoted(std::string_view sql, std::size_t start, char close) {
  for (std::size_t i = start + 1; i < sql.size(); ++i) {
    if (sql[i] != close) continue;
    if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return std::string_view::npos;
}

// Index one past the numeric literal at `start`.
std::size_t end_of_number(std::string_view sql, std::size_t start) {
  std::size_t i = start;
  while (i < sql.size() && digit(sql[i])) ++i;
  if (i < sql.size() && sql[i] == '.') {
    ++i;
    while (i < sql.size() && digit(sql[i])) ++i;
  }
  if (i < sql.size() && (sql[i] == 'e' || sql[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < sql.size() && (sql[j] == '+' || sql[j] == '-')) ++j;
    if (j < sql.size() && digit(sql[j])) {
      while (j < sql.size() && digit(sql[j])) ++j;
      i = j;
    }
  }
  return i;
}

// The value of a numeric literal when binding it gives exactly what the
// compiler would make of it.
std::optional<LiteralValue> number_value(std::string_view text) {
  if (text.find_first_of(".eE") == std::string_view::npos) {
    std::int64_t integer = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), integer);
    if (ec == std::errc() && ptr == text.data() + text.size()) return integer;
    return std::nullopt;  // too large: the compiler makes it a real
  }
  double real = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), real);
  if (ec == std::errc() && ptr == text.data() + text.size() && std::isfinite(real)) return real;
  return std::nullopt;
}

std::string unquote(std::string_view quoted) {
  std::string text;
  for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
    text += quoted[i];
    if (quoted[i] == '\'') ++i;  // the second of a doubled quote
  }
  return text;
}

}  // namespace

std::optional<ParameterizedStatement> parameterize(std::string_view sql) {
  if (has_ordinal_clause(sql)) return std::nullopt;
  ParameterizedStatement out;
  out.shape.reserve(sql.size());
  std::size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (identifier_char(c) && !digit(c) && c != '$') {
      // A word, kept whole; a blob literal x'..' is kept with it.
      std::size_t end = i;
      while (end < sql.size() && identifier_char(sql[end])) ++end;
      if (end - i == 1 && (c == 'x' || c == 'X') && end < sql.size() && sql[end] == '\'') {
        end = end_of_quoted(sql, end, '\'');
        if (end == std::string_view::npos) return std::nullopt;
      }
      out.shape.append(sql.substr(i, end - i));
      i = end;
    } else if (c == '\'') {
      const std::size_t end = end_of_quoted(sql, i, '\'');
      if (end == std::string_view::npos) return std::nullopt;
      out.values.emplace_back(unquote(sql.substr(i, end - i)));
      out.shape += '?';
      i = end;
    } else if (c == '"' || c == '`' || c == '[') {
      const std::size_t end = end_of_quoted(sql, i, c == '[' ? ']' : c);
      if (end == std::string_view::npos) return std::nullopt;
      out.shape.append(sql.substr(i, end - i));
      i = end;
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t end = std::min(sql.find('\n', i), sql.size());
      out.shape.append(sql.substr(i, end - i));
      i = end;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const std::size_t close = sql.find("*/", i + 2);
      const std::size_t end = close == std::string_view::npos ? sql.size() : close + 2;
      out.shape.append(sql.substr(i, end - i));
      i = end;
    } else if (digit(c) || (c == '.' && i + 1 < sql.size() && digit(sql[i + 1]))) {
      std::size_t end = end_of_number(sql, i);
      // 0x1F and a number run into a word stay as they are.
      if (end < sql.size() && identifier_char(sql[end])) {
        while (end < sql.size() && identifier_char(sql[end])) ++end;
        out.shape.append(sql.substr(i, end - i));
      } else if (auto value = number_value(sql.substr(i, end - i))) {
        out.values.push_back(std::move(*value));
        out.shape += '?';
      } else {
        out.shape.append(sql.substr(i, end - i));
      }
      i = end;
    } else if (c == '?' || c == ':' || c == '@' || c == '$') {
      return std::nullopt;  // the text brings parameters of its own
    } else {
      out.shape += c;
      ++i;
    }
  }
  return out;
}

}  // namespace vornel::host::database
