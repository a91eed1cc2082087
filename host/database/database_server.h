#pragma once
// The host's database server: one SQLite database, connected by file name,
// kept open while clients are attached. Statements run one at a time, each
// in its own transaction; an active entity per server answers the linkage
// requests.

#include "host/database/statement_cache.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vornel::host::database {

enum class LinkageMode {
  kSameRow,  // attaching answers the active row itself
  kNewRow,   // attaching answers a new row copied from the active one
};

// Whether other programs may read the database while it is connected.
enum class Locking {
  kExclusive,  // the run's own: no lock per statement, the fastest
  kShared,     // others read between statements
};

struct ActiveEntity {
  bool set = false;
  int entity = 0;
  std::int64_t mslink = 0;  // 0: the null record
};

struct EntityLinkage {
  int entity = 0;
  std::int64_t mslink = 0;
};

class DatabaseServer {
 public:
  // Clients by process id; the database closes when the last one leaves.
  void attach_client(pid_t client);
  // 0, or kDbNotAttached when the client was not attached.
  int detach_client(pid_t client);
  bool client_attached(pid_t client) const;

  // Opens the existing SQLite file `name`; a missing file is an error.
  int connect(std::string_view name, Locking locking = Locking::kExclusive);
  void disconnect();
  bool connected() const { return db_ != nullptr; }

  // Runs one statement to its end.
  int execute(std::string_view sql);
  // The row the select statement finds becomes the active entity.
  int make_active(std::string_view select_sql);
  // The null record of the entity's table becomes the active entity.
  int null_active(int entity);
  // "NEW" or "DUPLICATE", in any case.
  int set_linkage_mode(std::string_view mode);
  // The linkage of the active entity; a null active entity, or the new
  // linkage mode, makes a new row with the catalog's next mslink.
  int attach_active(EntityLinkage& linkage);
  // Column `column` (from 1) of row `mslink` of the entity's table.
  int field(int entity, std::int64_t mslink, int column, std::string& value);
  int field_names(int entity, std::vector<std::string>& names);

  const ActiveEntity& active() const { return active_; }
  LinkageMode linkage_mode() const { return mode_; }

 private:
  int add_row(int entity, std::int64_t copy_from, std::int64_t& mslink);
  int prepare_client_statement(std::string_view sql, sqlite3_stmt*& statement);
  int run(const char* sql);

  ConnectionHandle db_;
  StatementCache cache_;
  ActiveEntity active_;
  LinkageMode mode_ = LinkageMode::kSameRow;
  std::vector<pid_t> clients_;
};

}  // namespace vornel::host::database
