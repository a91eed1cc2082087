#include "tools/dbmake/db_description.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>
#include <strings.h>

namespace vornel::dbmake {

namespace {

// Splits a line into words; a quoted text is one word, kept with its
// quotes so that values can tell text from numbers. A '#' outside quotes
// starts a comment.
bool split_words(std::string_view line, std::vector<std::string>& words, std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '\'') {
      std::string word = "'";
      ++i;
      for (;;) {
        if (i >= line.size()) {
          error = "unterminated quoted text";
          return false;
        }
        if (line[i] == '\'') {
          if (i + 1 < line.size() && line[i + 1] == '\'') {
            word += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        word += line[i++];
      }
      words.push_back(word + "'");
    } else {
      std::size_t end = i;
      while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])) && line[end] != '#') ++end;
      words.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  return true;
}

template <class T>
bool whole_number(const std::string& word, T& value) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool parse_value(const std::string& word, Value& value) {
  if (word.size() >= 2 && word.front() == '\'') {
    value = word.substr(1, word.size() - 2);
    return true;
  }
  if (strcasecmp(word.c_str(), "null") == 0) {
    value = std::monostate{};
    return true;
  }
  std::int64_t integer = 0;
  if (whole_number(word, integer)) {
    value = integer;
    return true;
  }
  double real = 0;
  if (whole_number(word, real)) {
    value = real;
    return true;
  }
  return false;
}

bool plain_name(const std::string& name) {
  if (name.empty() || name.front() == '\'' || std::isdigit(static_cast<unsigned char>(name.front()))) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

bool same_name(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

class Parser {
 public:
  bool line(const std::vector<std::string>& words, std::string& error) {
    const std::string& keyword = words[0];
    if (keyword == "table") return table(words, error);
    if (keyword == "column") return column(words, error);
    if (keyword == "row") return row(words, error);
    error = "unknown keyword '" + keyword + "' (table, column or row)";
    return false;
  }
  DatabaseSpec take() { return std::move(spec_); }

 private:
  bool table(const std::vector<std::string>& words, std::string& error) {
    TableSpec table;
    std::int64_t next = 0;
    if (words.size() < 3 || words.size() > 4 || !plain_name(words[1]) || !whole_number(words[2], table.entity) ||
        table.entity <= 0 || table.entity > 32767 || (words.size() == 4 && (!whole_number(words[3], next) || next < 1))) {
      error = "expected: table NAME ENTITY [NEXTOCC], entity 1 to 32767, next occurrence 1 or more";
      return false;
    }
    table.name = words[1];
    if (words.size() == 4) table.next_occurrence = next;
    for (const TableSpec& other : spec_.tables) {
      if (same_name(other.name, table.name) || other.entity == table.entity) {
        error = "table name or entity number given twice";
        return false;
      }
    }
    if (same_name(table.name, "mscatalog")) {
      error = "mscatalog is made by the tool";
      return false;
    }
    spec_.tables.push_back(std::move(table));
    return true;
  }

  bool column(const std::vector<std::string>& words, std::string& error) {
    if (spec_.tables.empty()) {
      error = "column before any table";
      return false;
    }
    TableSpec& table = spec_.tables.back();
    static const std::set<std::string> kTypes = {"text", "integer", "real"};
    if (words.size() != 3 || !plain_name(words[1]) || kTypes.count(words[2]) == 0) {
      error = "expected: column NAME text|integer|real";
      return false;
    }
    if (!table.rows.empty()) {
      error = "columns come before the rows of their table";
      return false;
    }
    if (same_name(words[1], "mslink") ||
        std::any_of(table.columns.begin(), table.columns.end(),
                    [&](const ColumnSpec& c) { return same_name(c.name, words[1]); })) {
      error = "column '" + words[1] + "' given twice (mslink is always the first column)";
      return false;
    }
    table.columns.push_back({words[1], words[2]});
    return true;
  }

  bool row(const std::vector<std::string>& words, std::string& error) {
    if (spec_.tables.empty()) {
      error = "row before any table";
      return false;
    }
    TableSpec& table = spec_.tables.back();
    RowSpec row;
    if (words.size() < 2 || !whole_number(words[1], row.mslink) || row.mslink < 1) {
      error = "expected: row MSLINK VALUE..., mslink 1 or more";
      return false;
    }
    if (words.size() - 2 != table.columns.size()) {
      error = "row has " + std::to_string(words.size() - 2) + " values, table " + table.name + " has " +
              std::to_string(table.columns.size()) + " columns after mslink";
      return false;
    }
    for (std::size_t i = 2; i < words.size(); ++i) {
      Value value;
      if (!parse_value(words[i], value)) {
        error = "bad value " + words[i] + " (a number, 'text' or null)";
        return false;
      }
      row.values.push_back(std::move(value));
    }
    if (std::any_of(table.rows.begin(), table.rows.end(), [&](const RowSpec& r) { return r.mslink == row.mslink; })) {
      error = "mslink " + words[1] + " given twice";
      return false;
    }
    table.rows.push_back(std::move(row));
    return true;
  }

  DatabaseSpec spec_;
};

}  // namespace

std::optional<DatabaseSpec> parse_description(std::string_view text, std::string& error) {
  Parser parser;
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    std::vector<std::string> words;
    std::string problem;
    if (!split_words(line, words, problem) || (!words.empty() && !parser.line(words, problem))) {
      error = "line " + std::to_string(number) + ": " + problem;
      return std::nullopt;
    }
  }
  DatabaseSpec spec = parser.take();
  if (spec.tables.empty()) {
    error = "no table described";
    return std::nullopt;
  }
  return spec;
}

}  // namespace vornel::dbmake
