// Rate of update statements sent by a client through a real dgnhost to its
// SQLite database, the way the joiner sends them: one statement per
// request, each answered only after it is committed. Prints statements per
// second against the target of 20,000, and, to tell the database from the
// transport, the rate of the same statements given to the server in-process.
//   database_updates [COUNT] [ROWS]
// Client and host hand each request back and forth, so on a machine whose
// cores are busy with other work the figure through dgnhost measures the
// wait for a core; `chrt -f 1 database_updates` measures the code.
// Run from anywhere: dgnhost and dgnhost.rsc are taken from this program's
// directory (build/bin); the files live in a temporary folder.

#include "client/database/database.h"
#include "client/database/database_layout.h"
#include "client/session/session.h"
#include "host/database/database_server.h"
#include "host/header_only_design.h"
#include "tools/dbmake/database_builder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr double kTarget = 20000.0;

// The i-th statement: two shapes, spread over the table.
std::string statement(long i, long rows) {
  const long mslink = 1 + (i * 7919) % rows;
  char sql[128];
  std::snprintf(sql, sizeof sql, (i & 1) != 0 ? "update lines set flip_code=%ld where mslink=%ld;"
                                              : "update lines set slope=%ld.25 where mslink=%ld;",
                i, mslink);
  return sql;
}

void report(const char* what, long count, double seconds) {
  const double rate = static_cast<double>(count) / seconds;
  std::printf("%-36s %ld in %.2f s = %.0f per second (target %.0f: %s)\n", what, count, seconds, rate, kTarget,
              rate >= kTarget ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vornel;
  namespace fs = std::filesystem;
  const long count = argc > 1 ? std::atol(argv[1]) : 200000;
  const long rows = argc > 2 ? std::atol(argv[2]) : 100000;
  if (count <= 0 || rows <= 0) {
    std::fprintf(stderr, "usage: database_updates [COUNT] [ROWS]\n");
    return 2;
  }
  const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
  const fs::path dir = fs::temp_directory_path() / ("database_updates_" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::current_path(dir);
  setenv("MS_EXE", bin.c_str(), 1);
  unsetenv("MSGKEY");
  unsetenv("TCBKEY");

  dbmake::DatabaseSpec spec;
  dbmake::TableSpec lines{"lines", 17, std::nullopt, {{"flip_code", "integer"}, {"slope", "real"}}, {}};
  for (long i = 1; i <= rows; ++i) lines.rows.push_back({i, {std::int64_t{0}, 0.0}});
  spec.tables.push_back(std::move(lines));
  std::string error;
  if (!dbmake::write_database(spec, "run.db", error) || !host::write_file("run.dgn", host::header_only_design({}))) {
    std::fprintf(stderr, "cannot write the run files: %s\n", error.c_str());
    return 1;
  }

  // The server alone, on a copy of the database.
  fs::copy_file("run.db", "alone.db");
  {
    host::database::DatabaseServer server;
    int result = server.connect("alone.db");
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; result == 0 && i < count; ++i) result = server.execute(statement(i, rows));
    if (result != 0) {
      std::fprintf(stderr, "in-process statement failed with status %d\n", result);
      return 1;
    }
    report("update statements, server alone:", count,
           std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }

  std::int16_t status = 0, mode = 1;
  char buffer[512];
  std::int32_t length = 0;
  auto send = [&](std::int32_t operation, const std::string& text) {
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    length = static_cast<std::int32_t>(text.size() + 1);
    return db_std_request(buffer, &operation, &length, &status);
  };
  int result = indfpi(nullptr, "run.dgn", nullptr, nullptr, &mode, nullptr, &status, nullptr);
  if (result == 0) result = db_server_attach(&status);
  if (result == 0) result = send(dbwire::kConnect, "run.db");
  // Warm up both sides.
  for (long i = 1; result == 0 && i <= 1000; ++i) result = send(dbwire::kExecute, "update lines set flip_code=1 where mslink=1;");

  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; result == 0 && i < count; ++i) result = send(dbwire::kExecute, statement(i, rows));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  if (result != 0) std::fprintf(stderr, "request failed with status %d\n", result);
  else report("update statements through dgnhost:", count, seconds);
  db_server_detach(&status);
  dedfpi(nullptr);
  fs::current_path(bin);
  fs::remove_all(dir);
  return result == 0 ? 0 : 1;
}
