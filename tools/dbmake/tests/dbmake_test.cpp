// Run databases made from descriptions: what the description may say, and
// what the written file holds.

#include "host/database/sqlite_handles.h"
#include "tools/dbmake/database_builder.h"
#include "tools/dbmake/db_description.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vornel::dbmake {
namespace {

namespace fs = std::filesystem;
using host::database::column_text;
using host::database::ConnectionHandle;
using host::database::StatementHandle;

class DbMakeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vornel_dbmake_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The first column of the first row of `sql` in `path`.
  static std::string query(const std::string& path, const std::string& sql) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    ConnectionHandle db(raw);
    sqlite3_stmt* statement_raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &statement_raw, nullptr) != SQLITE_OK) return "<error>";
    StatementHandle statement(statement_raw);
    return sqlite3_step(statement.get()) == SQLITE_ROW ? column_text(statement.get(), 0) : "<no row>";
  }

  fs::path dir_;
};

TEST(DbDescription, ErrorsNameTheLineAndTheProblem) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"", "no table described"},
      {"# only a comment\n", "no table described"},
      {"tabel roads 7", "line 1: unknown keyword 'tabel' (table, column or row)"},
      {"table roads", "line 1: expected: table NAME ENTITY [NEXTOCC], entity 1 to 32767, next occurrence 1 or more"},
      {"table roads 0", "line 1: expected: table NAME ENTITY [NEXTOCC], entity 1 to 32767, next occurrence 1 or more"},
      {"table roads 40000", "line 1: expected: table NAME ENTITY [NEXTOCC], entity 1 to 32767, next occurrence 1 or more"},
      {"table ro-ads 7", "line 1: expected: table NAME ENTITY [NEXTOCC], entity 1 to 32767, next occurrence 1 or more"},
      {"table a 7\ntable A 8", "line 2: table name or entity number given twice"},
      {"table a 7\ntable b 7", "line 2: table name or entity number given twice"},
      {"table mscatalog 7", "line 1: mscatalog is made by the tool"},
      {"column name text", "line 1: column before any table"},
      {"table a 7\ncolumn name varchar", "line 2: expected: column NAME text|integer|real"},
      {"table a 7\ncolumn MSLINK integer", "line 2: column 'MSLINK' given twice (mslink is always the first column)"},
      {"table a 7\ncolumn n text\nrow 1 'x'\ncolumn m text", "line 4: columns come before the rows of their table"},
      {"table a 7\ncolumn n text\nrow 1", "line 3: row has 0 values, table a has 1 columns after mslink"},
      {"table a 7\ncolumn n text\nrow 0 'x'", "line 3: expected: row MSLINK VALUE..., mslink 1 or more"},
      {"table a 7\ncolumn n text\nrow 1 abc", "line 3: bad value abc (a number, 'text' or null)"},
      {"table a 7\ncolumn n text\nrow 1 'open", "line 3: unterminated quoted text"},
      {"table a 7\ncolumn n text\nrow 1 'x'\nrow 1 'y'", "line 4: mslink 1 given twice"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(parse_description(c.text, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST_F(DbMakeTest, WritesCatalogTablesAndRows) {
  std::string error;
  auto spec = parse_description(
      "table roads 7   # next occurrence past the largest row\n"
      "column name text\ncolumn code integer\ncolumn len real\n"
      "row 1 'O''Brien # Way' 3 1.5\n"
      "row 4 null -2 null\n"
      "table nodes 9 100\ncolumn id text\n",
      error);
  ASSERT_TRUE(spec) << error;
  const std::string path = (dir_ / "run.db").string();
  ASSERT_TRUE(write_database(*spec, path, error)) << error;

  EXPECT_EQ(query(path, "select group_concat(tablename || ':' || entitynum || ':' || nextocc, ' ') from mscatalog;"),
            "roads:7:5 nodes:9:100");
  EXPECT_EQ(query(path, "select name || '|' || code || '|' || len from roads where mslink=1;"), "O'Brien # Way|3|1.5");
  EXPECT_EQ(query(path, "select ifnull(name, 'NULL') || '|' || code from roads where mslink=4;"), "NULL|-2");
  EXPECT_EQ(query(path, "select count(*) from nodes;"), "0");
  EXPECT_EQ(query(path, "pragma journal_mode;"), "wal");
  EXPECT_EQ(query(path, "pragma page_size;"), "1024");
  EXPECT_FALSE(fs::exists(path + ".part"));

  // An existing file is never overwritten.
  EXPECT_FALSE(write_database(*spec, path, error));
  EXPECT_EQ(error, path + " exists; not overwritten");
}

TEST_F(DbMakeTest, CommandMakesTheExampleAndReportsBadInput) {
  const std::string dgndb = std::string(VORNEL_BIN_DIR) + "/dgndb";
  const std::string example = std::string(VORNEL_SOURCE_DIR) + "/tools/dbmake/examples/joiner_run.txt";
  const std::string out = (dir_ / "joiner.db").string();
  const std::string bad = (dir_ / "bad.txt").string();
  std::ofstream(bad) << "table a 7\nrow x\n";
  auto status = [](const std::string& command) { return WEXITSTATUS(std::system((command + " 2>/dev/null").c_str())); };

  EXPECT_EQ(status(dgndb + " make " + example + " " + out), 0);
  EXPECT_EQ(query(out, "select count(*) from mscatalog;"), "5");
  EXPECT_EQ(query(out, "select name from breaks where mslink=2;"), "O'Brien Way");
  EXPECT_EQ(status(dgndb + " make " + example + " " + out), 1);  // exists
  EXPECT_EQ(status(dgndb + " make " + bad + " " + (dir_ / "bad.db").string()), 1);
  EXPECT_FALSE(fs::exists(dir_ / "bad.db"));
  EXPECT_EQ(status(dgndb + " make " + (dir_ / "missing.txt").string() + " x.db"), 1);
  EXPECT_EQ(status(dgndb + " build a b"), 2);
}

}  // namespace
}  // namespace vornel::dbmake
