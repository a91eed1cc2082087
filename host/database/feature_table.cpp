#include "host/database/feature_table.h"

#include "host/database/database_status.h"

#include <strings.h>

namespace vornel::host::database {

namespace {

int run_to_end(sqlite3_stmt* statement) {
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
  }
  return rc == SQLITE_DONE ? kDbOk : status_for_sqlite(rc);
}

}  // namespace

FeatureTable::FeatureTable(sqlite3* db, StatementCache& cache, std::string_view name)
    : db_(db), cache_(cache), quoted_(quote_identifier(name)) {}

int FeatureTable::prepare(const std::string& sql, sqlite3_stmt*& statement) { return cache_.prepare(db_, sql, statement); }

int FeatureTable::column_names(std::vector<std::string>& names) {
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare("select * from " + quoted_ + ";", statement); status != kDbOk) return status;
  names.clear();
  for (int i = 0; i < sqlite3_column_count(statement); ++i) {
    const char* name = sqlite3_column_name(statement, i);
    names.emplace_back(name != nullptr ? name : "");
  }
  return kDbOk;
}

int FeatureTable::field(std::int64_t mslink, int column, std::string& value) {
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare("select * from " + quoted_ + " where mslink=?1;", statement); status != kDbOk) return status;
  if (column < 1 || column > sqlite3_column_count(statement)) return kDbInvalidStatement;
  StatementUse use(statement);
  sqlite3_bind_int64(statement, 1, mslink);
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE) return kDbNoSuchRow;
  if (rc != SQLITE_ROW) return status_for_sqlite(rc);
  value = column_text(statement, column - 1);
  return kDbOk;
}

int FeatureTable::has_row(std::int64_t mslink) {
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare("select 1 from " + quoted_ + " where mslink=?1;", statement); status != kDbOk) return status;
  StatementUse use(statement);
  sqlite3_bind_int64(statement, 1, mslink);
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_ROW) return kDbOk;
  return rc == SQLITE_DONE ? kDbNoSuchRow : status_for_sqlite(rc);
}

int FeatureTable::largest_mslink(std::int64_t& largest) {
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare("select max(mslink) from " + quoted_ + ";", statement); status != kDbOk) return status;
  StatementUse use(statement);
  const int rc = sqlite3_step(statement);
  if (rc != SQLITE_ROW) return status_for_sqlite(rc);
  largest = sqlite3_column_int64(statement, 0);
  return kDbOk;
}

int FeatureTable::insert_empty(std::int64_t mslink) {
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare("insert into " + quoted_ + " (mslink) values (?1);", statement); status != kDbOk)
    return status;
  StatementUse use(statement);
  sqlite3_bind_int64(statement, 1, mslink);
  return run_to_end(statement);
}

int FeatureTable::insert_copy(std::int64_t from, std::int64_t mslink) {
  std::vector<std::string> names;
  if (int status = column_names(names); status != kDbOk) return status;
  // Every column but mslink is copied; mslink takes the new key.
  std::string columns, values;
  for (const std::string& name : names) {
    const std::string quoted = quote_identifier(name);
    if (!columns.empty()) {
      columns += ",";
      values += ",";
    }
    columns += quoted;
    values += strcasecmp(name.c_str(), "mslink") == 0 ? std::string("?1") : quoted;
  }
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare("insert into " + quoted_ + " (" + columns + ") select " + values + " from " + quoted_ +
                               " where mslink=?2;",
                           statement);
      status != kDbOk)
    return status;
  StatementUse use(statement);
  sqlite3_bind_int64(statement, 1, mslink);
  sqlite3_bind_int64(statement, 2, from);
  if (int status = run_to_end(statement); status != kDbOk) return status;
  return sqlite3_changes(db_) == 1 ? kDbOk : kDbNoSuchRow;
}

}  // namespace vornel::host::database
