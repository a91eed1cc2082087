#pragma once
// Prepared statements kept for the connection's life, keyed by their SQL
// text, so that a statement whose text repeats is compiled once.

#include "host/database/sqlite_handles.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vornel::host::database {

class StatementCache {
 public:
  // Compiles `sql`, or finds it compiled. `sql` must hold exactly one
  // statement (trailing semicolons, blanks and comments allowed); anything
  // more is refused before it can run. Returns 0 or a server status.
  int prepare(sqlite3* db, std::string_view sql, sqlite3_stmt*& statement);

  // Drops every statement when more than `limit` are kept. Called between
  // requests only: statements handed out during a request stay valid.
  void trim(std::size_t limit);
  void clear() { statements_.clear(); }
  std::size_t size() const { return statements_.size(); }

 private:
  std::unordered_map<std::string, StatementHandle> statements_;
};

// True when `text` holds nothing but blanks, semicolons and SQL comments.
bool only_blanks_and_comments(std::string_view text);

}  // namespace vornel::host::database
