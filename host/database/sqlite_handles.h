#pragma once
// Owning handles for an SQLite connection and its prepared statements.

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

namespace vornel::host::database {

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

using ConnectionHandle = std::unique_ptr<sqlite3, ConnectionCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Resets a statement when the use ends, so that a cached statement never
// keeps a read transaction open between requests.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
  ~StatementUse() {
    if (statement_ != nullptr) {
      sqlite3_reset(statement_);
      sqlite3_clear_bindings(statement_);
    }
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;
  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_;
};

// The identifier in double quotes, inner quotes doubled: table names come
// from the catalog and are never spliced into SQL unquoted.
std::string quote_identifier(std::string_view name);

// Text of column `column` of the current row; NULL reads as empty.
std::string column_text(sqlite3_stmt* statement, int column);

}  // namespace vornel::host::database
