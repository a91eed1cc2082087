#include "tools/dbmake/database_builder.h"

#include "host/database/sqlite_handles.h"

#include <algorithm>
#include <filesystem>
#include <sqlite3.h>

namespace vornel::dbmake {

namespace {

using host::database::ConnectionHandle;
using host::database::quote_identifier;
using host::database::StatementHandle;

class Writer {
 public:
  explicit Writer(sqlite3* db) : db_(db) {}

  bool run(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    error_ = sqlite3_errmsg(db_);
    return false;
  }

  // Runs `sql` once per set of values.
  bool insert(const std::string& sql, const std::vector<std::vector<Value>>& rows) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      error_ = sqlite3_errmsg(db_);
      return false;
    }
    StatementHandle statement(raw);
    for (const auto& values : rows) {
      sqlite3_reset(statement.get());
      for (std::size_t i = 0; i < values.size(); ++i) bind(statement.get(), static_cast<int>(i + 1), values[i]);
      if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        error_ = sqlite3_errmsg(db_);
        return false;
      }
    }
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  static void bind(sqlite3_stmt* statement, int index, const Value& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) sqlite3_bind_int64(statement, index, *integer);
    else if (const auto* real = std::get_if<double>(&value)) sqlite3_bind_double(statement, index, *real);
    else if (const auto* text = std::get_if<std::string>(&value))
      sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
    else sqlite3_bind_null(statement, index);
  }

  sqlite3* db_;
  std::string error_;
};

std::int64_t next_occurrence(const TableSpec& table) {
  if (table.next_occurrence) return *table.next_occurrence;
  std::int64_t largest = 0;
  for (const RowSpec& row : table.rows) largest = std::max(largest, row.mslink);
  return largest + 1;
}

bool write_tables(Writer& writer, const DatabaseSpec& spec) {
  // Small pages: a run changes one row per statement, and each commit
  // writes the pages it changed to the log, so 1 KiB pages make every
  // statement's write a quarter of the default.
  if (!writer.run("pragma page_size=1024; pragma journal_mode=wal; begin;") ||
      !writer.run("create table mscatalog (tablename text not null unique collate nocase, "
                  "entitynum integer not null unique, nextocc integer not null default 1);"))
    return false;
  std::vector<std::vector<Value>> catalog;
  for (const TableSpec& table : spec.tables) {
    catalog.push_back({table.name, std::int64_t{table.entity}, next_occurrence(table)});
    std::string columns = "mslink integer primary key";
    std::string places = "?1";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
      columns += ", " + quote_identifier(table.columns[i].name) + " " + table.columns[i].type;
      places += ", ?" + std::to_string(i + 2);
    }
    if (!writer.run("create table " + quote_identifier(table.name) + " (" + columns + ");")) return false;
    std::vector<std::vector<Value>> rows;
    for (const RowSpec& row : table.rows) {
      rows.push_back({row.mslink});
      rows.back().insert(rows.back().end(), row.values.begin(), row.values.end());
    }
    if (!writer.insert("insert into " + quote_identifier(table.name) + " values (" + places + ");", rows)) return false;
  }
  return writer.insert("insert into mscatalog values (?1, ?2, ?3);", catalog) && writer.run("commit;");
}

}  // namespace

bool write_database(const DatabaseSpec& spec, const std::string& path, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists(path, ec)) {
    error = path + " exists; not overwritten";
    return false;
  }
  const std::string partial = path + ".part";
  fs::remove(partial, ec);
  bool written = false;
  {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(partial.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    ConnectionHandle db(raw);
    if (rc != SQLITE_OK) {
      error = "cannot create " + partial + ": " + (raw != nullptr ? sqlite3_errmsg(raw) : "out of memory");
    } else {
      Writer writer(db.get());
      written = write_tables(writer, spec);
      if (!written) error = writer.error();
    }
  }  // closed: the log is folded into the file and removed
  if (written) {
    fs::rename(partial, path, ec);
    if (ec) {
      error = "cannot rename " + partial + " to " + path + ": " + ec.message();
      written = false;
    }
  }
  if (!written) {
    fs::remove(partial, ec);
    fs::remove(partial + "-wal", ec);
    fs::remove(partial + "-shm", ec);
  }
  return written;
}

}  // namespace vornel::dbmake
