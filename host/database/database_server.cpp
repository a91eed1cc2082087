#include "host/database/database_server.h"

#include "host/database/catalog.h"
#include "host/database/database_status.h"
#include "host/database/feature_table.h"
#include "host/database/literal_parameters.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

namespace vornel::host::database {

namespace {

// Statements kept compiled; beyond this the cache starts afresh.
constexpr std::size_t kCachedStatements = 256;
constexpr int kBusyTimeoutMs = 5000;
constexpr std::int64_t kLargestLinkable = 0xFFFFFFFF;

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

void DatabaseServer::attach_client(pid_t client) {
  if (!client_attached(client)) clients_.push_back(client);
}

int DatabaseServer::detach_client(pid_t client) {
  auto found = std::find(clients_.begin(), clients_.end(), client);
  if (found == clients_.end()) return kDbNotAttached;
  clients_.erase(found);
  if (clients_.empty()) disconnect();
  return kDbOk;
}

bool DatabaseServer::client_attached(pid_t client) const {
  return std::find(clients_.begin(), clients_.end(), client) != clients_.end();
}

int DatabaseServer::run(const char* sql) {
  return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK ? kDbOk : kDbWriteFailed;
}

int DatabaseServer::connect(std::string_view name, Locking locking) {
  disconnect();
  const std::string path(name);
  // Only an existing file: SQLite would otherwise make a new, empty one.
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) return kDbCannotOpen;
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  ConnectionHandle db(raw);
  if (rc != SQLITE_OK) return kDbCannotOpen;
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  sqlite3_extended_result_codes(db.get(), 1);
  // WAL: every commit is written to the log before the statement is
  // answered and survives the host; the log is synced at checkpoints, not
  // per statement, and checkpoints come every 10,000 pages. An exclusive
  // lock, taken by the first read and kept until the database is closed,
  // spares the file locks of every statement. A file that is not a
  // database, or one another program holds, fails here.
  const char* setup = locking == Locking::kExclusive
                          ? "pragma locking_mode=exclusive; pragma journal_mode=wal; pragma synchronous=normal; "
                            "pragma wal_autocheckpoint=10000; select count(*) from sqlite_schema;"
                          : "pragma journal_mode=wal; pragma synchronous=normal; "
                            "pragma wal_autocheckpoint=10000; select count(*) from sqlite_schema;";
  if (sqlite3_exec(db.get(), setup, nullptr, nullptr, nullptr) != SQLITE_OK) return kDbCannotOpen;
  db_ = std::move(db);
  return kDbOk;
}

void DatabaseServer::disconnect() {
  cache_.clear();
  db_.reset();
  active_ = {};
  mode_ = LinkageMode::kSameRow;
}

// A client's statement is compiled by its shape, its literals bound as
// values; a text whose shape does not compile is compiled as it stands.
int DatabaseServer::prepare_client_statement(std::string_view sql, sqlite3_stmt*& statement) {
  if (auto shaped = parameterize(sql)) {
    if (cache_.prepare(db_.get(), shaped->shape, statement) == kDbOk &&
        sqlite3_bind_parameter_count(statement) == static_cast<int>(shaped->values.size())) {
      for (std::size_t i = 0; i < shaped->values.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        const LiteralValue& value = shaped->values[i];
        if (const auto* integer = std::get_if<std::int64_t>(&value)) sqlite3_bind_int64(statement, index, *integer);
        else if (const auto* real = std::get_if<double>(&value)) sqlite3_bind_double(statement, index, *real);
        else {
          const auto& text = std::get<std::string>(value);
          sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
      }
      return kDbOk;
    }
  }
  return cache_.prepare(db_.get(), sql, statement);
}

int DatabaseServer::execute(std::string_view sql) {
  if (!db_) return kDbNotAttached;
  cache_.trim(kCachedStatements);
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare_client_statement(sql, statement); status != kDbOk) return status;
  StatementUse use(statement);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
  }
  return rc == SQLITE_DONE ? kDbOk : status_for_sqlite(rc);
}

int DatabaseServer::make_active(std::string_view select_sql) {
  if (!db_) return kDbNotAttached;
  cache_.trim(kCachedStatements);
  sqlite3_stmt* statement = nullptr;
  if (int status = prepare_client_statement(select_sql, statement); status != kDbOk) return status;
  StatementUse use(statement);
  if (!sqlite3_stmt_readonly(statement)) return kDbInvalidStatement;
  // The mslink column of the result names the table and the row.
  int key_column = -1;
  for (int i = 0; i < sqlite3_column_count(statement) && key_column < 0; ++i) {
    const char* origin = sqlite3_column_origin_name(statement, i);
    if (origin != nullptr && strcasecmp(origin, "mslink") == 0) key_column = i;
  }
  if (key_column < 0) return kDbInvalidStatement;
  const char* table_name = sqlite3_column_table_name(statement, key_column);
  const std::string table = table_name != nullptr ? table_name : "";
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE) return kDbNoSuchRow;
  if (rc != SQLITE_ROW) return status_for_sqlite(rc);
  const std::int64_t mslink = sqlite3_column_int64(statement, key_column);
  CatalogEntry entry;
  if (int status = find_table(db_.get(), cache_, table, entry); status != kDbOk) return status;
  active_ = {true, entry.entity, mslink};
  return kDbOk;
}

int DatabaseServer::null_active(int entity) {
  if (!db_) return kDbNotAttached;
  CatalogEntry entry;
  if (int status = find_entity(db_.get(), cache_, entity, entry); status != kDbOk) return status;
  active_ = {true, entity, 0};
  return kDbOk;
}

int DatabaseServer::set_linkage_mode(std::string_view mode) {
  if (!db_) return kDbNotAttached;
  const std::string word = trimmed(mode);
  if (strcasecmp(word.c_str(), "NEW") == 0) mode_ = LinkageMode::kNewRow;
  else if (strcasecmp(word.c_str(), "DUPLICATE") == 0) mode_ = LinkageMode::kSameRow;
  else return kDbInvalidStatement;
  return kDbOk;
}

int DatabaseServer::attach_active(EntityLinkage& linkage) {
  if (!db_) return kDbNotAttached;
  cache_.trim(kCachedStatements);
  if (!active_.set) return kDbUnknownEntity;
  std::int64_t mslink = active_.mslink;
  if (mslink == 0 || mode_ == LinkageMode::kNewRow) {
    if (int status = add_row(active_.entity, active_.mslink, mslink); status != kDbOk) return status;
  } else {
    CatalogEntry entry;
    if (int status = find_entity(db_.get(), cache_, active_.entity, entry); status != kDbOk) return status;
    if (int status = FeatureTable(db_.get(), cache_, entry.table).has_row(mslink); status != kDbOk) return status;
    if (mslink < 0 || mslink > kLargestLinkable) return kDbInvalidStatement;
  }
  linkage = {active_.entity, mslink};
  return kDbOk;
}

// A new row keyed with the catalog's next occurrence (or past the largest
// key when the catalog lags behind the table), and the catalog advanced,
// in one savepoint: a failure leaves neither.
int DatabaseServer::add_row(int entity, std::int64_t copy_from, std::int64_t& mslink) {
  if (int status = run("savepoint attach_active;"); status != kDbOk) return status;
  auto body = [&]() -> int {
    CatalogEntry entry;
    if (int status = find_entity(db_.get(), cache_, entity, entry); status != kDbOk) return status;
    FeatureTable table(db_.get(), cache_, entry.table);
    std::int64_t largest = 0;
    if (int status = table.largest_mslink(largest); status != kDbOk) return status;
    mslink = std::max<std::int64_t>({entry.next_occurrence, largest + 1, 1});
    // A linkage carries 32 bits of mslink.
    if (mslink > kLargestLinkable) return kDbWriteFailed;
    if (int status = copy_from != 0 ? table.insert_copy(copy_from, mslink) : table.insert_empty(mslink); status != kDbOk)
      return status;
    return set_next_occurrence(db_.get(), cache_, entity, mslink + 1);
  };
  const int status = body();
  if (status != kDbOk) run("rollback to attach_active;");
  if (int released = run("release attach_active;"); released != kDbOk && status == kDbOk) return released;
  return status;
}

int DatabaseServer::field(int entity, std::int64_t mslink, int column, std::string& value) {
  if (!db_) return kDbNotAttached;
  cache_.trim(kCachedStatements);
  CatalogEntry entry;
  if (int status = find_entity(db_.get(), cache_, entity, entry); status != kDbOk) return status;
  return FeatureTable(db_.get(), cache_, entry.table).field(mslink, column, value);
}

int DatabaseServer::field_names(int entity, std::vector<std::string>& names) {
  if (!db_) return kDbNotAttached;
  cache_.trim(kCachedStatements);
  CatalogEntry entry;
  if (int status = find_entity(db_.get(), cache_, entity, entry); status != kDbOk) return status;
  return FeatureTable(db_.get(), cache_, entry.table).column_names(names);
}

}  // namespace vornel::host::database
