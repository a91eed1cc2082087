#pragma once
// Statuses the database server answers with, all codes of the library's
// status table so that every client can print a text for them.

#include "client/database/database_layout.h"

#include <sqlite3.h>

namespace vornel::host::database {

inline constexpr int kDbOk = 0;
// The client has not attached, or no database is connected.
inline constexpr int kDbNotAttached = dbwire::kNoDatabaseServer;
// An operation number the server does not know, or request data too short.
inline constexpr int kDbUnknownOperation = 900;  // "Nonexistent request"
// The database file is missing or is not a database.
inline constexpr int kDbCannotOpen = 911;      // "File read"
// The statement text is not one valid statement for this database
// (syntax, unknown table or column, a column number out of range).
inline constexpr int kDbInvalidStatement = 964;  // "Invalid output field"
// The statement was valid but could not be applied (constraint, locked,
// read-only, disk full, I/O).
inline constexpr int kDbWriteFailed = 912;     // "File write"
// No catalog entry for the entity number or table.
inline constexpr int kDbUnknownEntity = 974;   // "Bad File Slot"
// No row with that mslink.
inline constexpr int kDbNoSuchRow = 1011;      // "At end of file"

// The status for an SQLite result code other than OK, ROW and DONE.
inline int status_for_sqlite(int code) {
  switch (code & 0xFF) {
    case SQLITE_ERROR:
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
    case SQLITE_AUTH:
      return kDbInvalidStatement;
    case SQLITE_NOTADB:
    case SQLITE_CANTOPEN:
      return kDbCannotOpen;
    default:
      return kDbWriteFailed;
  }
}

}  // namespace vornel::host::database
