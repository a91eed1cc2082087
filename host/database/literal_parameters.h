#pragma once
// Statements whose shape repeats with other values (one update per chain,
// say) share one compiled statement: the literals of the text are taken
// out as parameters and bound on each run.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vornel::host::database {

using LiteralValue = std::variant<std::int64_t, double, std::string>;

struct ParameterizedStatement {
  std::string shape;                  // the text with "?" for every literal taken out
  std::vector<LiteralValue> values;   // in order of appearance
};

// The shape and values of `sql`, or nothing when the text is best compiled
// as it stands: a column number after ORDER BY or GROUP BY is no value, and
// a text with unbalanced quotes is left for the compiler to refuse. Numbers
// that do not fit exactly, hex and blob literals stay in the shape.
std::optional<ParameterizedStatement> parameterize(std::string_view sql);

}  // namespace vornel::host::database
