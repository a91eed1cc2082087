// The direct reader flushes the host only when a request since the last
// flush may have left design data there, and then sees every element the
// host has acknowledged. A real dgnhost on a file made by dgntool.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "client/connection/host_connection.h"
#include "client/operations/operations.h"
#include "client/reader/design_reader.hpp"
#include "client/reader/flush_hook.hpp"
#include "client/session/session.h"
#include "testsupport/run_program.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

// Elements the direct reader finds from the start of the file.
int count_elements(const std::string& path) {
  client::ScanPosition start{0, 0};
  std::int16_t status = 0;
  client::dfrset(&start, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, path.c_str(), &status, nullptr);
  EXPECT_EQ(status, 0);
  std::int16_t mode = 0;
  client::search(&mode);
  int found = 0;
  for (;;) {
    std::uint16_t buffer[1024] = {};
    std::int32_t max_words = 1024;
    client::ScanPosition at{};
    client::reqele(buffer, &max_words, &status, nullptr, nullptr, nullptr, nullptr, nullptr, &at, nullptr, nullptr,
                   nullptr);
    if (status != 0) break;
    ++found;
  }
  client::reset_design_reader();
  return found;
}

TEST(FlushHook, TheReaderFlushesOnlyAfterRequestsAndSeesWhatWasPlaced) {
  alarm(120);
  testing::TempDir dir;
  const fs::path old_dir = fs::current_path();
  fs::current_path(dir.path());
  setenv("MS_EXE", VORNEL_BIN_DIR, 1);
  for (const char* name : {"MSGKEY", "TCBKEY", "MS_RSRC", "MS_DEBUG", "MS_CACH"}) unsetenv(name);
  const std::string path = (dir / "f.dgn").string();
  testing::write_file(dir / "f.txt", "line level=1 : 0 0 100 100\n");
  ASSERT_EQ(testing::run_program("dgntool", {"make", "f.txt", path}, dir.path()).exit_status, 0);

  std::int16_t status = -1, mode = 1, third = 0;
  ASSERT_EQ(indfpi(nullptr, path.c_str(), &third, nullptr, &mode, nullptr, &status, nullptr), 0);
  const int header_and_line = count_elements(path);
  // Opening was a request; the reader's flush cleared the flag, so a second
  // read has nothing to flush.
  EXPECT_FALSE(connection::connection_state().data_may_be_cached);
  EXPECT_FALSE(client::run_host_flush_hook());

  const std::int16_t placement[2] = {2, 0};
  const std::int16_t level = 5;
  const std::int32_t points[] = {10, 10, 20, 20};
  ASSERT_EQ(lndfpi(placement, &level, nullptr, points, &status, nullptr), 0);
  EXPECT_TRUE(connection::connection_state().data_may_be_cached);
  EXPECT_EQ(count_elements(path), header_and_line + 1);
  EXPECT_FALSE(connection::connection_state().data_may_be_cached);

  EXPECT_EQ(dedfpi(nullptr), 0);
  // Closed: no host to flush.
  EXPECT_FALSE(client::run_host_flush_hook());
  fs::current_path(old_dir);
  alarm(0);
}

}  // namespace
}  // namespace vornel
