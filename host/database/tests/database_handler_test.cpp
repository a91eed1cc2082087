// Requests 93 and 176 as dgnhost's handlers take them, malformed ones
// included: every answer stays within the record and the reply buffer.

#include "client/connection/request_record.h"
#include "client/database/database_layout.h"
#include "host/database/database_status.h"
#include "host/requests/handlers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace vornel::host {
namespace {

namespace fs = std::filesystem;
using namespace database;

constexpr std::int32_t kClient = 4242;

// A record as the queue delivers it: the sender's pid at offset 8.
std::vector<std::byte> record(std::int32_t code, std::size_t payload) {
  connection::RequestRecord request(code, payload);
  request.put<std::int32_t>(8, kClient);
  return {request.bytes().begin(), request.bytes().end()};
}

std::vector<std::byte> database_record(std::int32_t operation, std::int32_t n, std::string_view data = {}) {
  auto bytes = record(dbwire::kDatabaseRequest, data.size() + dbwire::kPayloadExtra);
  wire::store(std::span<std::byte>(bytes), dbwire::kOperationOffset, operation);
  wire::store(std::span<std::byte>(bytes), dbwire::kDataLengthOffset, n);
  if (!data.empty()) std::memcpy(bytes.data() + dbwire::kDataOffset, data.data(), data.size());
  return bytes;
}

class DatabaseHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vornel_dbhandler_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    path_ = (dir_ / "run.db").string();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &raw), SQLITE_OK);
    ConnectionHandle db(raw);
    ASSERT_EQ(sqlite3_exec(db.get(),
                           "create table mscatalog (tablename text, entitynum integer, nextocc integer);"
                           "insert into mscatalog values ('t', 7, 1);"
                           "create table t (mslink integer primary key, long_value text, b text, c text);"
                           "insert into t values (1, printf('%.1000c', 'v'), 'x', 'y');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  void TearDown() override {
    session_.database.disconnect();
    fs::remove_all(dir_);
  }

  Reply send(const std::vector<std::byte>& bytes) {
    Reply reply;
    const auto code = wire::load<std::int32_t>(bytes, 12);
    if (code == dbwire::kServerAttachRequest) requests::database_attach(session_, bytes, reply);
    else requests::database_request(session_, bytes, reply);
    return reply;
  }

  void attach_and_connect() {
    ASSERT_EQ(send(record(dbwire::kServerAttachRequest, dbwire::kAttachPayload)).status(), 0);
    const std::string name = path_ + '\0';
    ASSERT_EQ(send(database_record(dbwire::kConnect, static_cast<std::int32_t>(name.size()), name)).status(), 0);
  }

  fs::path dir_;
  std::string path_;
  HostSession session_;
};

TEST_F(DatabaseHandlerTest, OnlyAttachedClientsAreServed) {
  Reply reply = send(database_record(dbwire::kExecute, 9, "select 1;"));
  EXPECT_EQ(reply.status(), kDbNotAttached);
  EXPECT_EQ(reply.length_field(), 0);
  EXPECT_TRUE(reply.data().empty());
  auto detach = record(dbwire::kServerAttachRequest, dbwire::kAttachPayload);
  wire::store(std::span<std::byte>(detach), dbwire::kAttachKeyOffset, std::int32_t{0x10000 + kClient});
  EXPECT_EQ(send(detach).status(), kDbNotAttached);
  attach_and_connect();
  EXPECT_EQ(send(detach).status(), 0);
  EXPECT_FALSE(session_.database.connected());
}

TEST_F(DatabaseHandlerTest, MalformedRequestsGetAStatusNeverAReadPastTheRecord) {
  attach_and_connect();
  auto truncated_names = database_record(dbwire::kFieldNames, 6, "\x07\x00\x14\x00\x40\x00");
  truncated_names.resize(26);  // the record ends inside the data
  struct Case {
    const char* what;
    std::vector<std::byte> bytes;
    int status;
  };
  const Case cases[] = {
      {"field with 2 of 12 bytes", database_record(dbwire::kGetField, 2, std::string(12, '\0')), kDbUnknownOperation},
      {"names cut off", truncated_names, kDbUnknownOperation},
      {"null record, negative n", database_record(dbwire::kNullActive, -5, "\x07\x00"), kDbUnknownOperation},
      {"unknown operation", database_record(77, 0), kDbUnknownOperation},
      {"record shorter than its header", record(dbwire::kDatabaseRequest, 2), kDbUnknownOperation},
      // n beyond the record and no NUL: the text ends with the record.
      {"statement without NUL", database_record(dbwire::kExecute, 5000, "select 1"), kDbOk},
      {"empty statement", database_record(dbwire::kExecute, 0), kDbInvalidStatement},
  };
  for (const Case& c : cases) {
    Reply reply = send(c.bytes);
    EXPECT_EQ(reply.status(), c.status) << c.what;
    EXPECT_TRUE(reply.data().empty()) << c.what;
    EXPECT_EQ(reply.length_field(), 0) << c.what;
  }
}

TEST_F(DatabaseHandlerTest, RepliesAreCutToTheCallersSizes) {
  attach_and_connect();
  // A 1000-character value: 255 characters and the NUL.
  std::string field(12, '\0');
  wire::store(std::span<std::byte>(reinterpret_cast<std::byte*>(field.data()), 12), 0, std::int16_t{7});
  wire::store(std::span<std::byte>(reinterpret_cast<std::byte*>(field.data()), 12), 4, std::int32_t{1});
  wire::store(std::span<std::byte>(reinterpret_cast<std::byte*>(field.data()), 12), 8, std::int16_t{2});
  Reply reply = send(database_record(dbwire::kGetField, 12, field));
  ASSERT_EQ(reply.status(), 0);
  ASSERT_EQ(reply.data().size(), dbwire::kFieldValueBytes);
  EXPECT_EQ(reply.data().back(), std::byte{0});
  EXPECT_EQ(reply.length_field(), static_cast<std::int32_t>(dbwire::kFieldValueBytes));

  struct NamesCase {
    std::int16_t width, count;
    std::int16_t names;
    const char* first;
  };
  const NamesCase names_cases[] = {
      {20, 64, 4, "mslink"}, {3, 2, 2, "ms"}, {1, 4, 4, ""}, {0, 64, 0, nullptr}, {20, -1, 0, nullptr},
      {30000, 5, 0, nullptr},  // one slot would not fit in a reply
  };
  for (const NamesCase& c : names_cases) {
    std::string data(6, '\0');
    auto bytes = std::span<std::byte>(reinterpret_cast<std::byte*>(data.data()), 6);
    wire::store(bytes, 0, std::int16_t{7});
    wire::store(bytes, 2, c.width);
    wire::store(bytes, 4, c.count);
    Reply names = send(database_record(dbwire::kFieldNames, 6, data));
    ASSERT_EQ(names.status(), 0) << c.width << "x" << c.count;
    EXPECT_EQ(wire::load<std::int16_t>(names.data(), 0), c.names);
    EXPECT_EQ(names.data().size(), 2 + static_cast<std::size_t>(c.names) * static_cast<std::size_t>(std::max<int>(c.width, 0)));
    EXPECT_LE(names.data().size(), connection::kReplyBufferBytes - connection::kReplyDataOffset);
    if (c.first != nullptr) {
      EXPECT_EQ(wire::load_text(names.data(), 2, static_cast<std::size_t>(c.width)), c.first);
    }
  }

  ASSERT_EQ(send(database_record(dbwire::kNullActive, 2, "\x07\x00")).status(), 0);
  Reply linkage = send(database_record(dbwire::kAttachActive, 0));
  ASSERT_EQ(linkage.status(), 0);
  EXPECT_EQ(linkage.length_field(), 32);
  EXPECT_EQ(linkage.data().size(), 32u);
  EXPECT_EQ(wire::load<std::uint16_t>(linkage.data(), 6), 7);
  EXPECT_EQ(wire::load<std::uint32_t>(linkage.data(), 8), 2u);
}

}  // namespace
}  // namespace vornel::host
