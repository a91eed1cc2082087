#pragma once
// A run database described in a few lines of text:
//
//   # a comment
//   table roads 7 [NEXTOCC]      a feature table and its entity number
//   column name text             columns of the table above, after mslink
//   column code integer          (types: text, integer, real)
//   row 1 'Main Street' 3        mslink, then one value per column
//
// Values are integers, reals, 'quoted text' ('' for a quote) or null.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vornel::dbmake {

using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

struct ColumnSpec {
  std::string name;
  std::string type;  // "text", "integer" or "real"
};

struct RowSpec {
  std::int64_t mslink = 0;
  std::vector<Value> values;
};

struct TableSpec {
  std::string name;
  int entity = 0;
  std::optional<std::int64_t> next_occurrence;  // unset: past the largest row
  std::vector<ColumnSpec> columns;
  std::vector<RowSpec> rows;
};

struct DatabaseSpec {
  std::vector<TableSpec> tables;
};

// Parses a description; on failure returns nothing and sets `error` to
// "line N: what is wrong".
std::optional<DatabaseSpec> parse_description(std::string_view text, std::string& error);

}  // namespace vornel::dbmake
