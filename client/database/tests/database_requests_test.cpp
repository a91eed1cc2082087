// Database requests from a client through a real dgnhost to a real SQLite
// file made with dgndb from the joiner's example description.

#include "client/connection/host_connection.h"
#include "client/connection/tcb_layout.h"
#include "client/database/database.h"
#include "client/database/database_layout.h"
#include "client/session/session.h"
#include "client/platform/process.h"
#include "host/database/sqlite_handles.h"
#include "host/header_only_design.h"
#include "tools/dbmake/database_builder.h"
#include "tools/dbmake/db_description.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace vornel {
namespace {

namespace fs = std::filesystem;

constexpr std::int16_t kLines = 17, kNodes = 18, kBreaks = 19, kNewBreaks = 20, kLabels = 21;
constexpr std::int16_t kNotAttached = 994, kUnknownOperation = 900, kCannotOpen = 911, kInvalidStatement = 964,
                       kWriteFailed = 912, kUnknownEntity = 974, kNoSuchRow = 1011;

template <class... Args>
std::string format(const char* pattern, Args... args) {
  char text[512];
  std::snprintf(text, sizeof text, pattern, args...);
  return text;
}

class DatabaseRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(120);  // a hang fails the test instead of the whole run
    old_dir_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("vornel_db_requests_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    fs::current_path(dir_);
    setenv("MS_EXE", VORNEL_BIN_DIR, 1);
    for (const char* name : {"MSGKEY", "TCBKEY", "MS_RSRC", "MS_DEBUG", "MS_CACH"}) unsetenv(name);

    std::ifstream in(std::string(VORNEL_SOURCE_DIR) + "/tools/dbmake/examples/joiner_run.txt");
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    auto spec = dbmake::parse_description(text.str(), error);
    ASSERT_TRUE(spec) << error;
    ASSERT_TRUE(dbmake::write_database(*spec, "run.db", error)) << error;
    ASSERT_TRUE(host::write_file("run.dgn", host::header_only_design({})));
  }

  void TearDown() override {
    std::int16_t status = 0;
    db_server_detach(&status);
    dedfpi(nullptr);
    fs::current_path(old_dir_);
    fs::remove_all(dir_);
    alarm(0);
  }

  static void open_design() {
    std::int16_t status = -1, mode = 1, third = 0;
    ASSERT_EQ(indfpi(nullptr, "run.dgn", &third, nullptr, &mode, nullptr, &status, nullptr), 0);
  }

  // Attaches and connects to run.db.
  void attach_and_connect() {
    open_design();
    std::int16_t status = -1;
    ASSERT_EQ(db_server_attach(&status), 0);
    ASSERT_EQ(request(dbwire::kConnect, "run.db"), 0);
  }

  // A standard request with `text` (length counted with its NUL, or 0 for
  // an empty text); the answer lands in buffer_ and length_.
  int request(std::int32_t operation, const std::string& text) {
    buffer_.fill('#');
    std::memcpy(buffer_.data(), text.c_str(), text.size() + 1);
    length_ = text.empty() ? 0 : static_cast<std::int32_t>(text.size() + 1);
    std::int16_t status = -1;
    const int result = db_std_request(buffer_.data(), &operation, &length_, &status);
    EXPECT_EQ(result, status);
    return result;
  }

  // Column `column` of a row, or "<status N>".
  static std::string field(std::int16_t entity, std::int32_t mslink, std::int16_t column) {
    std::array<char, dbwire::kFieldValueBytes + 8> text;
    text.fill('#');
    std::int16_t status = -1;
    if (db_getfld(&entity, &mslink, &column, text.data(), &status) != 0) {
      EXPECT_EQ(text[0], '#');  // untouched on failure
      return "<status " + std::to_string(status) + ">";
    }
    return text.data();
  }

  fs::path dir_, old_dir_;
  std::array<char, 512> buffer_{};
  std::int32_t length_ = 0;
};

TEST_F(DatabaseRequestsTest, WithoutAnAttachmentNothingIsSent) {
  std::int16_t status = -1, entity = kLines, column = 1, width = 20, count = 64;
  std::int32_t mslink = 1;
  char text[dbwire::kFieldValueBytes] = "kept";
  char names[20 * 64] = "kept";
  // Before any host exists: the attach cannot be delivered.
  EXPECT_EQ(db_server_attach(&status), 925);
  EXPECT_EQ(db_server_detach(&status), kNotAttached);
  open_design();
  EXPECT_EQ(request(dbwire::kConnect, "run.db"), kNotAttached);
  EXPECT_EQ(db_nulrec(&entity, &status), kNotAttached);
  EXPECT_EQ(db_getfld(&entity, &mslink, &column, text, &status), kNotAttached);
  EXPECT_EQ(db_fldname(&entity, &width, &count, names, &status), kNotAttached);
  EXPECT_EQ(status, kNotAttached);
  EXPECT_STREQ(text, "kept");
  EXPECT_STREQ(names, "kept");
}

TEST_F(DatabaseRequestsTest, ConnectsOnlyToAnExistingFileAndNeedsAConnection) {
  open_design();
  std::int16_t status = -1;
  ASSERT_EQ(db_server_attach(&status), 0);
  EXPECT_EQ(request(dbwire::kExecute, "select 1;"), kNotAttached);  // no database yet
  EXPECT_EQ(request(dbwire::kConnect, "missing.db"), kCannotOpen);
  EXPECT_FALSE(fs::exists("missing.db"));
  EXPECT_EQ(request(dbwire::kConnect, "run.dgn"), kCannotOpen);
  EXPECT_EQ(request(dbwire::kConnect, "run.db"), 0);
  EXPECT_EQ(length_, 0);
  EXPECT_EQ(request(dbwire::kExecute, "select 1;"), 0);
}

TEST_F(DatabaseRequestsTest, ListsColumnNamesIntoSlots) {
  attach_and_connect();
  std::array<char, 20 * 64> names;
  names.fill('#');
  std::int16_t status = -1, entity = kLines, width = 20, count = 64;
  ASSERT_EQ(db_fldname(&entity, &width, &count, names.data(), &status), 0);
  const char* expected[] = {"mslink", "from_id", "to_id", "flip_code", "slope", "dist",
                            "from_x", "from_y",  "high_z", "to_x",      "to_y",  "low_z"};
  for (std::size_t i = 0; i < 12; ++i) EXPECT_STREQ(&names[i * 20], expected[i]);
  for (std::size_t i = 12; i < 64; ++i) EXPECT_EQ(names[i * 20], '\0') << "slot " << i;

  // Narrow slots cut the names; a short count leaves the rest alone.
  names.fill('#');
  width = 6;
  count = 3;
  ASSERT_EQ(db_fldname(&entity, &width, &count, names.data(), &status), 0);
  EXPECT_STREQ(&names[0], "mslin");
  EXPECT_STREQ(&names[6], "from_");
  EXPECT_STREQ(&names[12], "to_id");
  EXPECT_EQ(names[18], '#');

  entity = 99;
  EXPECT_EQ(db_fldname(&entity, &width, &count, names.data(), &status), kUnknownEntity);
}

TEST_F(DatabaseRequestsTest, ReadsFieldsAsText) {
  attach_and_connect();
  EXPECT_EQ(field(kLines, 1, 2), "N1");
  EXPECT_EQ(field(kLines, 3, 2), "");  // NULL
  EXPECT_EQ(field(kLines, 3, 4), "7");
  EXPECT_EQ(field(kLabels, 1, 4), "30.0");
  EXPECT_EQ(field(kLabels, 1, 5), "SECTCORN");
  EXPECT_EQ(field(kLines, 9, 2), "<status 1011>");
  EXPECT_EQ(field(kLines, 1, 13), "<status 964>");
  EXPECT_EQ(field(kLines, 1, 0), "<status 964>");
  EXPECT_EQ(field(99, 1, 1), "<status 974>");

  // A value longer than the caller's buffer is cut, never overflowed.
  ASSERT_EQ(request(dbwire::kExecute, "update labels set label=printf('%.300c', 'x') where mslink=1;"), 0);
  std::array<char, dbwire::kFieldValueBytes + 8> text;
  text.fill('#');
  std::int16_t status = -1, entity = kLabels, column = 2;
  std::int32_t mslink = 1;
  ASSERT_EQ(db_getfld(&entity, &mslink, &column, text.data(), &status), 0);
  EXPECT_EQ(std::strlen(text.data()), dbwire::kFieldValueBytes - 1);
  EXPECT_EQ(text[dbwire::kFieldValueBytes], '#');
}

TEST_F(DatabaseRequestsTest, EveryStatementTheJoinerSendsRuns) {
  attach_and_connect();
  const std::string statements[] = {
      format("select * from %s where mslink=%ld;", "lines", 1L),
      format("insert into %s (mslink) values (%ld);", "lines", 10L),
      format("update mscatalog set nextocc=%ld where tablename='%s';", 11L, "lines"),
      // chain output: the key of a new break row
      format("insert into %s (mslink) values (%ld);", "newbreaks", 1L),
      format("update %s set %s=%ld where mslink=%ld;", "newbreaks", "old_link", 1L, 1L),
      // direction flips
      format("update %s set %s='%s' where mslink=%ld;", "lines", "from_id", "N2", 1L),
      format("update %s set %s='%s' where mslink=%ld;", "lines", "to_id", "N1", 1L),
      format("update %s set %s = '%s' where mslink = %ld;", "lines", "from_id", "N3", 2L),
      format("update %s set %s=%d where mslink=%ld;", "lines", "flip_code", 1, 1L),
      format("update %s set %s = %d where mslink = %ld;", "lines", "flip_code", 1, 2L),
      // nodes and ids
      format("insert into %s(mslink,%s,%s,%s,%s) values (%ld,'%ld',%d,%.2lf,%.2lf);", "nodes", "node_id", "cnt", "x",
             "y", 1L, 1L, 3, 1250.5, -20.25),
      format("update mscatalog set nextocc=%ld where tablename='%s';", 2L, "nodes"),
      format("update %s set %s=%d,%s=%.2lf,%s=%.2lf where mslink=%ld;", "nodes", "cnt", 4, "x", 1250.75, "y", -20.5,
             1L),
      format("update %s set %s=%s where mslink=%ld;", "nodes", "node_id", "77", 1L),
      format("update %s set %s='%s' where mslink=%ld;", "nodes", "node_id", "N1", 1L),
      format("update %s set %s=%s where mslink=%ld;", "lines", "to_id", "77", 2L),
      format("update mscatalog set nextocc=%ld where entitynum=%d;", 2L, kNodes),
  };
  for (const std::string& sql : statements) EXPECT_EQ(request(dbwire::kExecute, sql), 0) << sql;
  // linear parameters
  for (const char* column : {"slope", "dist", "from_x", "from_y", "high_z", "to_x", "to_y", "low_z"}) {
    const std::string sql = format("update %s set %s=%.2lf where mslink=%ld;", "lines", column, 12.345, 1L);
    EXPECT_EQ(request(dbwire::kExecute, sql), 0) << sql;
  }

  EXPECT_EQ(field(kLines, 1, 2), "N2");
  EXPECT_EQ(field(kLines, 1, 3), "N1");
  EXPECT_EQ(field(kLines, 2, 2), "N3");
  EXPECT_EQ(field(kLines, 2, 3), "77");
  EXPECT_EQ(field(kLines, 1, 5), "12.35");
  EXPECT_EQ(field(kNodes, 1, 2), "N1");
  EXPECT_EQ(field(kNodes, 1, 3), "4");
  EXPECT_EQ(field(kNodes, 1, 4), "1250.75");
  EXPECT_EQ(field(kNewBreaks, 1, 3), "1");
}

TEST_F(DatabaseRequestsTest, ActiveEntitiesGiveLinkagesOfNewRows) {
  attach_and_connect();
  auto linkage = [&]() {
    EXPECT_EQ(length_, 32);
    std::array<std::uint16_t, 9> words{};
    std::memcpy(words.data(), buffer_.data(), sizeof words);
    return words;
  };

  // Break rows with a new table: a null record of the new table, attached,
  // makes its next row; the joiner then keys it to the current row.
  ASSERT_EQ(request(dbwire::kLinkageMode, "NEW"), 0);
  std::int16_t status = -1, entity = kNewBreaks;
  ASSERT_EQ(db_nulrec(&entity, &status), 0);
  ASSERT_EQ(request(dbwire::kAttachActive, ""), 0);
  auto words = linkage();
  EXPECT_EQ(words, (std::array<std::uint16_t, 9>{0x1007, 0, 3969, kNewBreaks, 1, 0, 0, 0, 0}));
  ASSERT_EQ(request(dbwire::kExecute, "update newbreaks set old_link=2 where mslink=1;"), 0);

  // Without a new table: the current row, attached in the new mode, is
  // copied to the next mslink of its table.
  ASSERT_EQ(request(dbwire::kMakeActive, "select * from breaks where mslink=2;"), 0);
  EXPECT_EQ(length_, 0);
  ASSERT_EQ(request(dbwire::kAttachActive, ""), 0);
  words = linkage();
  EXPECT_EQ(words[3], kBreaks);
  EXPECT_EQ(words[4] | words[5] << 16, 3);
  EXPECT_EQ(field(kBreaks, 3, 2), "O'Brien Way");
  EXPECT_EQ(field(kBreaks, 1, 1), "1");

  // Failures the joiner reports and goes on from.
  EXPECT_EQ(request(dbwire::kMakeActive, "select * from breaks where mslink=99;"), kNoSuchRow);
  entity = 99;
  EXPECT_EQ(db_nulrec(&entity, &status), kUnknownEntity);
  EXPECT_EQ(request(dbwire::kLinkageMode, "SIDEWAYS"), kInvalidStatement);
}

TEST_F(DatabaseRequestsTest, ErrorsCarryStatusesAndLeaveTheCallersBuffer) {
  attach_and_connect();
  struct Case {
    std::int32_t operation;
    const char* text;
    std::int16_t status;
  };
  const Case cases[] = {
      {dbwire::kExecute, "update lines set nowhere=1 where mslink=1;", kInvalidStatement},
      {dbwire::kExecute, "updte lines set to_id='x';", kInvalidStatement},
      {dbwire::kExecute, "update lines set to_id='x' where mslink=1; delete from lines;", kInvalidStatement},
      {dbwire::kExecute, "insert into lines (mslink) values (1);", kWriteFailed},
      {dbwire::kMakeActive, "select * from mscatalog;", kInvalidStatement},
      {99, "anything", kUnknownOperation},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(request(c.operation, c.text), c.status) << c.text;
    EXPECT_EQ(std::string(buffer_.data()), c.text);
    EXPECT_EQ(length_, static_cast<std::int32_t>(std::strlen(c.text) + 1));
  }
  EXPECT_EQ(field(kLines, 1, 3), "N2");  // the refused pair ran neither statement
  EXPECT_EQ(field(kLines, 1, 1), "1");
}

TEST_F(DatabaseRequestsTest, AnsweredStatementsSurviveAKilledHost) {
  attach_and_connect();
  ASSERT_EQ(request(dbwire::kExecute, "update lines set to_id='kept' where mslink=3;"), 0);
  ASSERT_EQ(request(dbwire::kExecute, "update lines set to_id='lost' where mslink=3; select 1;"), kInvalidStatement);
  const auto host = static_cast<pid_t>(wire::load<std::int32_t>(connection::tcb_bytes(), tcb::kHostProcessId));
  ASSERT_EQ(kill(host, SIGKILL), 0);
  for (int i = 0; i < 500 && platform::process_alive(host); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_FALSE(platform::process_alive(host));

  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open_v2("run.db", &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  host::database::ConnectionHandle db(raw);
  sqlite3_stmt* statement_raw = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db.get(), "select to_id from lines where mslink=3;", -1, &statement_raw, nullptr), SQLITE_OK);
  host::database::StatementHandle statement(statement_raw);
  ASSERT_EQ(sqlite3_step(statement.get()), SQLITE_ROW);
  EXPECT_EQ(host::database::column_text(statement.get(), 0), "kept");
}

TEST_F(DatabaseRequestsTest, DetachEndsTheAttachment) {
  attach_and_connect();
  std::int16_t status = -1;
  EXPECT_EQ(db_server_detach(&status), 0);
  EXPECT_EQ(request(dbwire::kExecute, "select 1;"), kNotAttached);
  EXPECT_EQ(db_server_detach(&status), kNotAttached);
  // A new attachment starts without a database.
  ASSERT_EQ(db_server_attach(&status), 0);
  EXPECT_EQ(request(dbwire::kExecute, "select 1;"), kNotAttached);
  EXPECT_EQ(request(dbwire::kConnect, "run.db"), 0);
  EXPECT_EQ(request(dbwire::kExecute, "select 1;"), 0);
}

}  // namespace
}  // namespace vornel
