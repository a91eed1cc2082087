#include "host/database/catalog.h"

#include "host/database/database_status.h"

namespace vornel::host::database {

namespace {

int read_entry(sqlite3_stmt* statement, CatalogEntry& entry) {
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE) return kDbUnknownEntity;
  if (rc != SQLITE_ROW) return status_for_sqlite(rc);
  entry.table = column_text(statement, 0);
  entry.entity = sqlite3_column_int(statement, 1);
  // A catalog row without a next occurrence starts at 1.
  entry.next_occurrence = sqlite3_column_type(statement, 2) == SQLITE_NULL ? 1 : sqlite3_column_int64(statement, 2);
  return entry.table.empty() ? kDbUnknownEntity : kDbOk;
}

}  // namespace

int find_entity(sqlite3* db, StatementCache& cache, int entity, CatalogEntry& entry) {
  sqlite3_stmt* statement = nullptr;
  if (cache.prepare(db, "select tablename, entitynum, nextocc from mscatalog where entitynum=?1;", statement) != kDbOk)
    return kDbUnknownEntity;
  StatementUse use(statement);
  sqlite3_bind_int(statement, 1, entity);
  return read_entry(statement, entry);
}

int find_table(sqlite3* db, StatementCache& cache, std::string_view table, CatalogEntry& entry) {
  sqlite3_stmt* statement = nullptr;
  if (cache.prepare(db, "select tablename, entitynum, nextocc from mscatalog where tablename=?1 collate nocase;",
                    statement) != kDbOk)
    return kDbUnknownEntity;
  StatementUse use(statement);
  sqlite3_bind_text(statement, 1, table.data(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
  return read_entry(statement, entry);
}

int set_next_occurrence(sqlite3* db, StatementCache& cache, int entity, std::int64_t next) {
  sqlite3_stmt* statement = nullptr;
  if (int status = cache.prepare(db, "update mscatalog set nextocc=?1 where entitynum=?2;", statement); status != kDbOk)
    return status;
  StatementUse use(statement);
  sqlite3_bind_int64(statement, 1, next);
  sqlite3_bind_int(statement, 2, entity);
  const int rc = sqlite3_step(statement);
  return rc == SQLITE_DONE ? kDbOk : status_for_sqlite(rc);
}

}  // namespace vornel::host::database
