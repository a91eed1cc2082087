// The database server against real SQLite files in a temporary folder.

#include "host/database/database_server.h"
#include "host/database/database_status.h"
#include "host/database/literal_parameters.h"
#include "host/database/statement_cache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vornel::host::database {
namespace {

namespace fs = std::filesystem;

// Two feature tables in the catalog (roads 7, nodes 9) and one table that
// is not in it.
constexpr const char* kFixture = R"sql(
create table mscatalog (tablename text, entitynum integer, nextocc integer);
insert into mscatalog values ('roads', 7, 5), ('nodes', 9, 1);
create table roads (mslink integer primary key, name text, code integer, from_id text);
insert into roads values (1, 'Main', 3, 'A1'), (2, 'Side', null, 'A2'), (4, 'Long', 8, null);
create table nodes (mslink integer primary key, node_id text, cnt integer, x real, y real);
create table loose (mslink integer primary key, v text);
insert into loose values (1, 'x');
)sql";

class DatabaseServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vornel_dbserver_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    path_ = (dir_ / "run.db").string();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &raw), SQLITE_OK);
    ConnectionHandle db(raw);
    ASSERT_EQ(sqlite3_exec(db.get(), kFixture, nullptr, nullptr, nullptr), SQLITE_OK);
  }
  void TearDown() override {
    server_.disconnect();
    fs::remove_all(dir_);
  }

  // Shared, so that outside() can look at the file while it is connected.
  void connect() { ASSERT_EQ(server_.connect(path_, Locking::kShared), kDbOk); }

  // A value read through a second connection, as another program sees it.
  std::string outside(const std::string& sql) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path_.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    ConnectionHandle db(raw);
    sqlite3_stmt* statement_raw = nullptr;
    sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &statement_raw, nullptr);
    StatementHandle statement(statement_raw);
    if (sqlite3_step(statement.get()) != SQLITE_ROW) return "<no row>";
    return column_text(statement.get(), 0);
  }

  fs::path dir_;
  std::string path_;
  DatabaseServer server_;
};

TEST_F(DatabaseServerTest, ConnectsOnlyToAnExistingDatabaseFile) {
  std::ofstream(dir_ / "text.db") << "not a database, just text that is long enough to have a header............";
  EXPECT_EQ(server_.connect((dir_ / "missing.db").string()), kDbCannotOpen);
  EXPECT_FALSE(fs::exists(dir_ / "missing.db"));
  EXPECT_EQ(server_.connect((dir_ / "text.db").string()), kDbCannotOpen);
  EXPECT_EQ(server_.connect(dir_.string()), kDbCannotOpen);
  EXPECT_EQ(server_.connect(""), kDbCannotOpen);
  EXPECT_FALSE(server_.connected());
  connect();
  EXPECT_EQ(outside("pragma journal_mode;"), "wal");
}

TEST_F(DatabaseServerTest, AnExclusiveConnectionKeepsOthersOutUntilItCloses) {
  ASSERT_EQ(server_.connect(path_), kDbOk);
  ASSERT_EQ(server_.execute("update roads set code=9 where mslink=1;"), kDbOk);
  DatabaseServer other;
  EXPECT_EQ(other.connect(path_, Locking::kShared), kDbCannotOpen);
  server_.disconnect();
  EXPECT_EQ(outside("select code from roads where mslink=1;"), "9");
}

TEST_F(DatabaseServerTest, EveryOperationNeedsAConnectedDatabase) {
  std::string value;
  std::vector<std::string> names;
  EntityLinkage linkage;
  EXPECT_EQ(server_.execute("select 1;"), kDbNotAttached);
  EXPECT_EQ(server_.make_active("select * from roads where mslink=1;"), kDbNotAttached);
  EXPECT_EQ(server_.null_active(7), kDbNotAttached);
  EXPECT_EQ(server_.set_linkage_mode("NEW"), kDbNotAttached);
  EXPECT_EQ(server_.attach_active(linkage), kDbNotAttached);
  EXPECT_EQ(server_.field(7, 1, 1, value), kDbNotAttached);
  EXPECT_EQ(server_.field_names(7, names), kDbNotAttached);
}

TEST_F(DatabaseServerTest, StatementsRunOneAtATimeAndAFailedOneChangesNothing) {
  connect();
  struct Case {
    const char* sql;
    int status;
  };
  const Case cases[] = {
      {"update roads set code=5 where mslink=1;", kDbOk},
      {"select * from roads where mslink=2;", kDbOk},
      {"  update roads set name = 'Main St' where mslink = 1 ; -- trailing comment", kDbOk},
      {"updat roads set code=1;", kDbInvalidStatement},
      {"update nowhere set code=1;", kDbInvalidStatement},
      {"update roads set nocolumn=1;", kDbInvalidStatement},
      {"", kDbInvalidStatement},
      {" ; ", kDbInvalidStatement},
      // Two statements: refused before either runs.
      {"update roads set code=99 where mslink=1; delete from roads;", kDbInvalidStatement},
      // A duplicate key fails; so does a multi-row change that collides on
      // its second row, and its first row stays as it was.
      {"insert into roads (mslink) values (2);", kDbWriteFailed},
      {"update roads set mslink=mslink+1 where mslink<3;", kDbWriteFailed},
  };
  for (const Case& c : cases) EXPECT_EQ(server_.execute(c.sql), c.status) << c.sql;
  EXPECT_EQ(outside("select code || ',' || name from roads where mslink=1;"), "5,Main St");
  EXPECT_EQ(outside("select count(*) from roads;"), "3");
  EXPECT_EQ(outside("select group_concat(mslink) from roads;"), "1,2,4");
}

TEST_F(DatabaseServerTest, AcknowledgedStatementsAreSeenByOtherConnections) {
  connect();
  for (int i = 1; i <= 50; ++i)
    ASSERT_EQ(server_.execute("update roads set code=" + std::to_string(i) + " where mslink=4;"), kDbOk);
  EXPECT_EQ(outside("select code from roads where mslink=4;"), "50");
}

TEST_F(DatabaseServerTest, FieldsAndColumnNamesOfAnEntitysTable) {
  connect();
  std::vector<std::string> names;
  ASSERT_EQ(server_.field_names(7, names), kDbOk);
  EXPECT_EQ(names, (std::vector<std::string>{"mslink", "name", "code", "from_id"}));

  struct Case {
    int entity;
    std::int64_t mslink;
    int column;
    int status;
    const char* value;
  };
  const Case cases[] = {
      {7, 1, 2, kDbOk, "Main"},  {7, 1, 3, kDbOk, "3"},   {7, 2, 3, kDbOk, ""},  // NULL reads empty
      {7, 4, 1, kDbOk, "4"},     {7, 1, 0, kDbInvalidStatement, ""},            {7, 1, 5, kDbInvalidStatement, ""},
      {7, 3, 2, kDbNoSuchRow, ""}, {8, 1, 1, kDbUnknownEntity, ""},
  };
  for (const Case& c : cases) {
    std::string value = "untouched";
    EXPECT_EQ(server_.field(c.entity, c.mslink, c.column, value), c.status) << c.entity << "/" << c.mslink << "/" << c.column;
    if (c.status == kDbOk) {
      EXPECT_EQ(value, c.value);
    }
  }
  EXPECT_EQ(server_.field_names(8, names), kDbUnknownEntity);

  // The catalog is read afresh: a table added by a statement is found.
  ASSERT_EQ(server_.execute("insert into mscatalog values ('loose', 8, 2);"), kDbOk);
  std::string value;
  EXPECT_EQ(server_.field(8, 1, 2, value), kDbOk);
  EXPECT_EQ(value, "x");
}

TEST_F(DatabaseServerTest, WithoutACatalogEveryEntityIsUnknown) {
  connect();
  ASSERT_EQ(server_.execute("drop table mscatalog;"), kDbOk);
  std::vector<std::string> names;
  EXPECT_EQ(server_.field_names(7, names), kDbUnknownEntity);
  EXPECT_EQ(server_.null_active(7), kDbUnknownEntity);
}

TEST_F(DatabaseServerTest, ActiveRowAnswersItsOwnLinkage) {
  connect();
  EntityLinkage linkage;
  EXPECT_EQ(server_.attach_active(linkage), kDbUnknownEntity);  // nothing active yet
  ASSERT_EQ(server_.make_active("select * from roads where mslink=2;"), kDbOk);
  ASSERT_EQ(server_.attach_active(linkage), kDbOk);
  EXPECT_EQ(linkage.entity, 7);
  EXPECT_EQ(linkage.mslink, 2);
  EXPECT_EQ(outside("select count(*) from roads;"), "3");

  EXPECT_EQ(server_.make_active("select * from roads where mslink=3;"), kDbNoSuchRow);
  EXPECT_EQ(server_.make_active("select * from loose where mslink=1;"), kDbUnknownEntity);
  EXPECT_EQ(server_.make_active("select name from roads where mslink=1;"), kDbInvalidStatement);
  EXPECT_EQ(server_.make_active("delete from roads where mslink=1;"), kDbInvalidStatement);
  EXPECT_EQ(server_.active().mslink, 2);  // failures keep the active entity
}

TEST_F(DatabaseServerTest, NullActiveEntityMakesNewRowsWithTheCatalogsNextMslink) {
  connect();
  EXPECT_EQ(server_.null_active(8), kDbUnknownEntity);
  ASSERT_EQ(server_.null_active(7), kDbOk);
  EntityLinkage first, second;
  ASSERT_EQ(server_.attach_active(first), kDbOk);
  ASSERT_EQ(server_.attach_active(second), kDbOk);
  EXPECT_EQ(first.mslink, 5);
  EXPECT_EQ(second.mslink, 6);
  EXPECT_EQ(outside("select nextocc from mscatalog where entitynum=7;"), "7");
  EXPECT_EQ(outside("select ifnull(name, 'null') from roads where mslink=6;"), "null");

  // A catalog that lags behind its table never hands out a key in use.
  ASSERT_EQ(server_.execute("update mscatalog set nextocc=2 where entitynum=7;"), kDbOk);
  ASSERT_EQ(server_.attach_active(first), kDbOk);
  EXPECT_EQ(first.mslink, 7);
  EXPECT_EQ(outside("select nextocc from mscatalog where entitynum=7;"), "8");

  // Past what a linkage holds: refused, nothing added.
  ASSERT_EQ(server_.execute("update mscatalog set nextocc=4294967296 where entitynum=7;"), kDbOk);
  EXPECT_EQ(server_.attach_active(first), kDbWriteFailed);
  EXPECT_EQ(outside("select count(*) from roads;"), "6");
}

TEST_F(DatabaseServerTest, NewLinkageModeCopiesTheActiveRow) {
  connect();
  EXPECT_EQ(server_.set_linkage_mode("OLD"), kDbInvalidStatement);
  ASSERT_EQ(server_.set_linkage_mode("NEW"), kDbOk);
  ASSERT_EQ(server_.make_active("select * from roads where mslink=1;"), kDbOk);
  EntityLinkage linkage;
  ASSERT_EQ(server_.attach_active(linkage), kDbOk);
  EXPECT_EQ(linkage.mslink, 5);
  EXPECT_EQ(outside("select name || ',' || code || ',' || from_id from roads where mslink=5;"), "Main,3,A1");
  ASSERT_EQ(server_.set_linkage_mode(" duplicate "), kDbOk);
  ASSERT_EQ(server_.attach_active(linkage), kDbOk);
  EXPECT_EQ(linkage.mslink, 1);
}

TEST_F(DatabaseServerTest, AFailedNewRowLeavesTableAndCatalogAsTheyWere) {
  connect();
  // A column that must not be NULL makes the empty new row fail.
  ASSERT_EQ(server_.execute("create table strict_t (mslink integer primary key, must text not null);"), kDbOk);
  ASSERT_EQ(server_.execute("insert into mscatalog values ('strict_t', 11, 1);"), kDbOk);
  ASSERT_EQ(server_.null_active(11), kDbOk);
  EntityLinkage linkage;
  EXPECT_EQ(server_.attach_active(linkage), kDbWriteFailed);
  EXPECT_EQ(outside("select count(*) from strict_t;"), "0");
  EXPECT_EQ(outside("select nextocc from mscatalog where entitynum=11;"), "1");
  // The connection is usable afterwards, inside no stray transaction.
  EXPECT_EQ(server_.execute("update roads set code=1 where mslink=1;"), kDbOk);
  EXPECT_EQ(outside("select code from roads where mslink=1;"), "1");
}

TEST_F(DatabaseServerTest, TheLastClientToDetachClosesTheDatabase) {
  server_.attach_client(100);
  server_.attach_client(200);
  EXPECT_TRUE(server_.client_attached(100));
  EXPECT_EQ(server_.detach_client(300), kDbNotAttached);
  connect();
  EXPECT_EQ(server_.detach_client(100), kDbOk);
  EXPECT_TRUE(server_.connected());
  EXPECT_EQ(server_.detach_client(200), kDbOk);
  EXPECT_FALSE(server_.connected());
  EXPECT_FALSE(server_.client_attached(200));
}

TEST(StatementText, LiteralsBecomeParametersWhereTheyAreValues) {
  using Values = std::vector<LiteralValue>;
  struct Case {
    const char* sql;
    const char* shape;  // nullptr: compiled as it stands
    Values values;
  };
  const Case cases[] = {
      {"update lines set code=12 where mslink=345;", "update lines set code=? where mslink=?;", Values{12, 345}},
      {"update t set a='O''Brien;x', b=-1.25e2, c=.5 where mslink=7;", "update t set a=?, b=-?, c=? where mslink=?;",
       Values{std::string("O'Brien;x"), 1.25e2, 0.5, 7}},
      {"insert into t(mslink,id) values (3,'3');", "insert into t(mslink,id) values (?,?);", Values{3, std::string("3")}},
      {"update t2 set col1=x'0A', \"v 2\"=0x1F, [a]=99999999999999999999 where k=1;",
       "update t2 set col1=x'0A', \"v 2\"=0x1F, [a]=99999999999999999999 where k=?;", Values{1}},
      {"select 1 -- 2\n/* 3 */ from t;", "select ? -- 2\n/* 3 */ from t;", Values{1}},
      {"select * from t order by 2;", nullptr, {}},
      {"select count(*) from t group  by 1;", nullptr, {}},
      {"update t set a=? where mslink=1;", nullptr, {}},
      {"update t set a=:v where mslink=1;", nullptr, {}},
      {"update t set a='open where mslink=1;", nullptr, {}},
  };
  for (const Case& c : cases) {
    auto shaped = parameterize(c.sql);
    if (c.shape == nullptr) {
      EXPECT_FALSE(shaped) << c.sql;
      continue;
    }
    ASSERT_TRUE(shaped) << c.sql;
    EXPECT_EQ(shaped->shape, c.shape);
    EXPECT_EQ(shaped->values, c.values) << c.sql;
  }
}

TEST_F(DatabaseServerTest, StatementsMeanTheSameWithTheirLiteralsBound) {
  connect();
  // Each pair: a statement, then a check whose result shows its effect.
  ASSERT_EQ(server_.execute("update roads set name='a;b', code=-2 where mslink=1;"), kDbOk);
  EXPECT_EQ(outside("select name || code from roads where mslink=1;"), "a;b-2");
  ASSERT_EQ(server_.execute("update roads set code=7 where mslink=2;"), kDbOk);  // same shape, other values
  EXPECT_EQ(outside("select code from roads where mslink=2;"), "7");
  ASSERT_EQ(server_.execute("update roads set from_id='12' where mslink=4;"), kDbOk);
  EXPECT_EQ(outside("select typeof(from_id) from roads where mslink=4;"), "text");
  // Statements whose literals may not be parameters still run.
  ASSERT_EQ(server_.execute("create table extra (mslink integer primary key, v integer default 5);"), kDbOk);
  ASSERT_EQ(server_.execute("insert into extra (mslink) values (1);"), kDbOk);
  EXPECT_EQ(outside("select v from extra;"), "5");
  ASSERT_EQ(server_.execute("pragma cache_size=2000;"), kDbOk);
  ASSERT_EQ(server_.execute("select name, code from roads order by 2;"), kDbOk);
  EXPECT_EQ(server_.execute("update roads set code=1 where mslink=1; update roads set code=2;"), kDbInvalidStatement);
  EXPECT_EQ(outside("select code from roads where mslink=1;"), "-2");
}

TEST(StatementText, OnlyBlanksAndCommentsMayFollowAStatement) {
  struct Case {
    const char* tail;
    bool empty;
  };
  const Case cases[] = {{"", true},          {" ;; \n", true},   {"-- note", true}, {"/* a */ ;", true},
                        {"/* open", true},   {"select 1", false}, {"; x", false},   {"-- a\nx", false}};
  for (const Case& c : cases) EXPECT_EQ(only_blanks_and_comments(c.tail), c.empty) << c.tail;
}

}  // namespace
}  // namespace vornel::host::database
