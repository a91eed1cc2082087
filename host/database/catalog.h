#pragma once
// The catalog table mscatalog(tablename, entitynum, nextocc): which table an
// entity number names, and the next mslink to hand out in it. It is read
// afresh for every operation, since clients update it with plain statements.

#include "host/database/statement_cache.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel::host::database {

struct CatalogEntry {
  std::string table;
  int entity = 0;
  std::int64_t next_occurrence = 1;
};

// 0, or kDbUnknownEntity when the catalog has no such entity (or no catalog).
int find_entity(sqlite3* db, StatementCache& cache, int entity, CatalogEntry& entry);
// The same by table name, compared without regard to case.
int find_table(sqlite3* db, StatementCache& cache, std::string_view table, CatalogEntry& entry);
// Sets the next occurrence of the entity.
int set_next_occurrence(sqlite3* db, StatementCache& cache, int entity, std::int64_t next);

}  // namespace vornel::host::database
