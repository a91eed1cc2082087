#include "host/database/statement_cache.h"

#include "host/database/database_status.h"

#include <cctype>
#include <climits>

namespace vornel::host::database {

bool only_blanks_and_comments(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c)) || c == ';') {
      ++i;
    } else if (text.substr(i, 2) == "--") {
      const std::size_t end = text.find('\n', i);
      i = end == std::string_view::npos ? text.size() : end + 1;
    } else if (text.substr(i, 2) == "/*") {
      const std::size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() : end + 2;
    } else {
      return false;
    }
  }
  return true;
}

int StatementCache::prepare(sqlite3* db, std::string_view sql, sqlite3_stmt*& statement) {
  statement = nullptr;
  std::string key(sql);
  if (auto found = statements_.find(key); found != statements_.end()) {
    statement = found->second.get();
    return kDbOk;
  }
  if (sql.size() > static_cast<std::size_t>(INT_MAX)) return kDbInvalidStatement;
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v3(db, key.data(), static_cast<int>(key.size()), SQLITE_PREPARE_PERSISTENT, &raw, &tail);
  StatementHandle compiled(raw);
  if (rc != SQLITE_OK) return status_for_sqlite(rc);
  // An empty text compiles to no statement at all.
  if (!compiled) return kDbInvalidStatement;
  const std::size_t used = static_cast<std::size_t>(tail - key.data());
  if (!only_blanks_and_comments(std::string_view(key).substr(used))) return kDbInvalidStatement;
  statement = compiled.get();
  statements_.emplace(std::move(key), std::move(compiled));
  return kDbOk;
}

void StatementCache::trim(std::size_t limit) {
  if (statements_.size() > limit) statements_.clear();
}

}  // namespace vornel::host::database
