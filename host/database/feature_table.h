#pragma once
// Reading and adding rows of a feature table, a table keyed by an integer
// mslink column. The table name comes from the catalog.

#include "host/database/statement_cache.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::host::database {

class FeatureTable {
 public:
  FeatureTable(sqlite3* db, StatementCache& cache, std::string_view name);

  // Column names in their order.
  int column_names(std::vector<std::string>& names);
  // Column `column` (from 1) of the row with `mslink` as text, NULL as "".
  int field(std::int64_t mslink, int column, std::string& value);
  // 0 when the row exists, kDbNoSuchRow when not.
  int has_row(std::int64_t mslink);
  // The largest mslink in the table, 0 when empty.
  int largest_mslink(std::int64_t& largest);
  // A new row with only its mslink set.
  int insert_empty(std::int64_t mslink);
  // A new row with the values of row `from`, keyed `mslink`.
  int insert_copy(std::int64_t from, std::int64_t mslink);

 private:
  int prepare(const std::string& sql, sqlite3_stmt*& statement);

  sqlite3* db_;
  StatementCache& cache_;
  std::string quoted_;
};

}  // namespace vornel::host::database
