// Opening, reading and closing through real dgnhost processes.

#include "client/connection/host_connection.h"
#include "client/connection/object_names.h"
#include "client/connection/status_codes.h"
#include "client/connection/tcb_layout.h"
#include "client/platform/process.h"
#include "client/session/session.h"
#include "host/header_only_design.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <unistd.h>

namespace vornel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string hex_name(const char* format, unsigned long value) { return connection::format_name(format, value); }

pid_t host_pid() {
  return static_cast<pid_t>(wire::load<std::int32_t>(connection::tcb_bytes(), tcb::kHostProcessId));
}

class HostSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    alarm(120);  // a hang fails the test instead of the whole run
    old_dir_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("vornel_host_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    fs::current_path(dir_);
    setenv("MS_EXE", VORNEL_BIN_DIR, 1);
    for (const char* name : {"MSGKEY", "TCBKEY", "MS_RSRC", "MS_DEBUG", "MS_CACH"}) unsetenv(name);
  }

  void TearDown() override {
    dedfpi(nullptr);
    fs::current_path(old_dir_);
    fs::remove_all(dir_);
    alarm(0);
  }

  std::string design(const char* name, const host::HeaderValues& values) {
    std::string path = (dir_ / name).string();
    host::write_file(path, host::header_only_design(values));
    return path;
  }

  static int open(const std::string& path) {
    std::int16_t status = -1;
    std::int16_t mode = 1;
    std::int16_t third = 0;
    return indfpi(nullptr, path.c_str(), &third, nullptr, &mode, nullptr, &status, nullptr);
  }

  // Shared objects that name this process, its queues, or the given hosts.
  static std::vector<std::string> leftovers(std::vector<pid_t> hosts, std::vector<std::uint32_t> keys = {}) {
    const auto self = static_cast<unsigned long>(getpid());
    std::vector<std::string> prefixes = {hex_name("p1Event%08lx", self), hex_name("p2Event%08lx", self)};
    for (unsigned long n = 1; n <= 3; ++n) keys.push_back(static_cast<std::uint32_t>(self + 0x10000ul * n));
    for (std::uint32_t key : keys)
      for (const char* format : {"qMem%08lx", "qMtex%08lx", "qEvnt%08lx_"}) prefixes.push_back(hex_name(format, key));
    for (pid_t host : hosts) prefixes.push_back(hex_name("dgnTcb%08lx", static_cast<unsigned long>(host)));
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator("/dev/shm")) {
      std::string name = entry.path().filename().string();
      for (const std::string& prefix : prefixes)
        if (name.rfind(prefix, 0) == 0) found.push_back(name);
    }
    return found;
  }

  static std::set<std::string> tcb_objects() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("/dev/shm"))
      if (entry.path().filename().string().rfind("dgnTcb", 0) == 0) names.insert(entry.path().filename().string());
    return names;
  }

  static bool wait_gone(pid_t pid) {
    for (auto until = Clock::now() + 5s; Clock::now() < until; std::this_thread::sleep_for(10ms))
      if (!platform::process_alive(pid)) return true;
    return false;
  }

  fs::path dir_, old_dir_;
};

TEST_F(HostSessionTest, OpensReadsTcbOfTwoAndThreeDimensionalFilesAndCloses) {
  struct Case {
    const char* file;
    host::HeaderValues header;
    std::int16_t dimension;
  } cases[] = {
      {"flat.dgn", {false, 10, 1000, {-2147483648.0, 0.0, 0.0}}, 2},
      {"solid.dgn", {true, 100, 254, {1000.5, -25000.25, 3.0e6}}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(open(design(c.file, c.header)), 0);
    std::int16_t status = -1, words = 16;
    std::int16_t dimension = 0, graphic_group = 0;
    std::int32_t mu = 0, uor = 0;
    double origin[3] = {};
    EXPECT_EQ(rdtcbasc("NDICES", &words, &dimension, &status), 0);
    EXPECT_EQ(dimension, c.dimension);
    EXPECT_EQ(wire::load<std::int16_t>(connection::tcb_bytes(), tcb::kDimension), c.dimension);
    EXPECT_EQ(rdtcbasc("EU.MU", &words, &mu, &status), 0);
    EXPECT_EQ(rdtcbasc("EU.UOR", &words, &uor, &status), 0);
    EXPECT_EQ(mu, c.header.subunits_per_master);
    EXPECT_EQ(uor, c.header.uors_per_subunit);
    const char* axes[] = {"GOXUOR", "GOYUOR", "GOZUOR"};
    for (int axis = 0; axis < 3; ++axis) {
      EXPECT_EQ(rdtcbasc(axes[axis], &words, &origin[axis], &status), 0);
      EXPECT_DOUBLE_EQ(origin[axis], c.header.global_origin[axis]) << axes[axis];
    }
    EXPECT_EQ(rdtcbasc("GRAFIC", &words, &graphic_group, &status), 0);
    EXPECT_EQ(graphic_group, 1);

    pid_t host = host_pid();
    EXPECT_EQ(dedfpi(nullptr), 0);
    EXPECT_TRUE(wait_gone(host));
    EXPECT_EQ(leftovers({host}), std::vector<std::string>{});
  }
}

TEST_F(HostSessionTest, TcbVariableEdgeCases) {
  std::int16_t status = 0, words = 16;
  std::int16_t value = 0;
  EXPECT_EQ(rdtcbasc("NDICES", &words, &value, &status), status::kTcbMapping) << "no table before open";

  ASSERT_EQ(open(design("f.dgn", {false, 10, 1000, {12345.0, 0, 0}})), 0);
  EXPECT_EQ(rdtcbasc("eu.uor", &words, &value, &status), status::kRadix50Conversion);
  EXPECT_EQ(status, status::kRadix50Conversion);
  EXPECT_EQ(rdtcbasc("NOSUCH", &words, &value, &status), status::kTcbMapping);

  unsigned char bytes[8];
  std::memset(bytes, 0xAA, sizeof bytes);
  std::int16_t one = 1;
  EXPECT_EQ(rdtcbasc("GOXUOR", &one, bytes, &status), 0);
  double full = 12345.0;
  EXPECT_EQ(std::memcmp(bytes, &full, 2), 0);
  EXPECT_EQ(bytes[2], 0xAA) << "one word copies two bytes only";

  EXPECT_EQ(dedfpi(nullptr), 0);
  EXPECT_EQ(dedfpi(nullptr), 0) << "a second close does nothing";
  EXPECT_EQ(rdtcbasc("NDICES", &words, &value, &status), status::kTcbMapping);
}

TEST_F(HostSessionTest, OpenFailuresReportTheirStatusAndLeaveNothingBehind) {
  std::ofstream(dir_ / "notes.txt") << "this is not a design file\n";
  // A host that dies before it answers is noticed at once, not after the whole wait.
  fs::create_directories(dir_ / "crashing");
  std::ofstream(dir_ / "crashing" / "dgnhost") << "#!/bin/sh\nexit 3\n";
  fs::permissions(dir_ / "crashing" / "dgnhost", fs::perms::owner_all);
  const std::string crashing = (dir_ / "crashing").string();
  struct Case {
    std::string file;
    const char* ms_exe;
    int status;
    const char* text;
  } cases[] = {
      {"missing.dgn", VORNEL_BIN_DIR, 948, "ERROR (948): Unable to open design file\n"},
      {(dir_ / "notes.txt").string(), VORNEL_BIN_DIR, 948, "ERROR (948): Unable to open design file\n"},
      {"", VORNEL_BIN_DIR, 953, "ERROR (953): No design file open\n"},
      {"missing.dgn", "/nonexistent", 982, "ERROR (982): Could not exec design host\n"},
      {"missing.dgn", crashing.c_str(), 925, "Design host terminated with status of 3\nERROR (925): Communication\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + " " + c.ms_exe);
    setenv("MS_EXE", c.ms_exe, 1);
    std::set<std::string> tcbs_before = tcb_objects();
    testing::internal::CaptureStdout();
    auto start = Clock::now();
    EXPECT_EQ(open(c.file), c.status);
    EXPECT_LT(Clock::now() - start, 1500ms);
    for (const std::string& name : tcb_objects())
      EXPECT_TRUE(tcbs_before.count(name) != 0 || platform::process_alive(std::stoi(name.substr(6), nullptr, 16)))
          << name << " left behind by a host that ended";
    std::int16_t status = static_cast<std::int16_t>(c.status);
    prt_error(&status);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.text);
    EXPECT_EQ(dedfpi(nullptr), 0);
    EXPECT_EQ(leftovers({}), std::vector<std::string>{});
  }
}

TEST_F(HostSessionTest, ConfigurationVariablesFlushAndUnknownRequests) {
  setenv("VORNEL_TEST_SETTING", "abcdef", 1);  // inherited by the host
  ASSERT_EQ(open(design("f.dgn", {})), 0);
  unsetenv("VORNEL_TEST_SETTING");
  struct Case {
    const char* name;
    std::int16_t size;
    const char* value;
  } cases[] = {{"VORNEL_TEST_SETTING", 64, "abcdef"}, {"VORNEL_TEST_SETTING", 4, "abc"}, {"VORNEL_UNSET_SETTING", 64, ""}};
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    std::int16_t status = -1;
    EXPECT_EQ(host_config_variable(c.name, buffer, &c.size, &status), 0);
    EXPECT_STREQ(buffer, c.value) << c.name << " " << c.size;
  }

  connection::RequestRecord flush(connection::kFlushRequest, 8);
  flush.put<std::int32_t>(20, 2);
  EXPECT_EQ(connection::send_crc(flush, {}, false), 0);
  connection::RequestRecord unknown(777, 4);
  EXPECT_EQ(connection::send_crc(unknown, {}, false), status::kNonexistentRequest);
  EXPECT_EQ(dedfpi(nullptr), 0);
}

int run_probe(const std::vector<std::string>& args, int* signal = nullptr) {
  std::vector<std::string> argv{std::string(VORNEL_BIN_DIR) + "/../tests/session_probe"};
  argv.insert(argv.end(), args.begin(), args.end());
  platform::ProcessHandle probe;
  if (platform::ProcessHandle::spawn(argv, probe) != 0) return -1;
  if (!probe.wait_for_end(30000)) {
    probe.kill_and_reap();
    return -2;
  }
  if (signal != nullptr) *signal = probe.end()->signal;
  return probe.end()->exit_status;
}

TEST_F(HostSessionTest, SecondClientJoinsRunningHostThroughItsTcb) {
  std::string file = design("shared.dgn", {true, 10, 1000, {}});
  ASSERT_EQ(open(file), 0);
  pid_t host = host_pid();
  setenv("TCBKEY", connection::connection_state().tcb_name.c_str(), 1);
  EXPECT_EQ(run_probe({file}), 0);
  unsetenv("TCBKEY");

  EXPECT_TRUE(platform::process_alive(host)) << "the host serves its first client on";
  std::int16_t status = 0, words = 16, dimension = 0;
  EXPECT_EQ(rdtcbasc("NDICES", &words, &dimension, &status), 0);
  EXPECT_EQ(dimension, 3);
  EXPECT_EQ(dedfpi(nullptr), 0);
  EXPECT_TRUE(wait_gone(host));
  EXPECT_EQ(leftovers({host}), std::vector<std::string>{});
}

TEST_F(HostSessionTest, HostKilledMidRequestIsNoticedWithinASecond) {
  ASSERT_EQ(open(design("f.dgn", {})), 0);
  pid_t host = host_pid();
  kill(host, SIGSTOP);  // the request below is taken by nobody
  std::thread killer([host] {
    std::this_thread::sleep_for(200ms);
    kill(host, SIGKILL);
  });

  testing::internal::CaptureStdout();
  auto start = Clock::now();
  char buffer[16];
  std::int16_t size = sizeof buffer, status = 0;
  int result = host_config_variable("PATH", buffer, &size, &status);
  auto waited = Clock::now() - start;
  killer.join();
  prt_error(&status);
  std::fflush(stdout);
  std::string output = testing::internal::GetCapturedStdout();

  EXPECT_EQ(result, status::kCommunication);
  EXPECT_LT(waited, 1200ms);
  EXPECT_EQ(output, "Design host terminated due to signal of 9\nERROR (925): Communication\n");
  EXPECT_EQ(dedfpi(nullptr), 0);
  EXPECT_EQ(leftovers({host}), std::vector<std::string>{});
}

TEST_F(HostSessionTest, ClientKilledHoldingTheQueueMutexDoesNotBlockTheNext) {
  std::string file = design("f.dgn", {});
  const auto key = static_cast<std::uint32_t>(getpid()) + 0x10000u * 150;
  setenv("MSGKEY", std::to_string(key).c_str(), 1);
  platform::ProcessHandle host;
  ASSERT_EQ(platform::ProcessHandle::spawn({std::string(VORNEL_BIN_DIR) + "/dgnhost", file}, host), 0);
  const std::string tcb_name = hex_name("/dgnTcb%08lx", static_cast<unsigned long>(host.pid()));
  for (auto until = Clock::now() + 5s; Clock::now() < until && !platform::SharedMemory::exists(tcb_name);)
    std::this_thread::sleep_for(10ms);
  setenv("TCBKEY", tcb_name.c_str(), 1);

  int signal = 0;
  run_probe({file, "die-locked"}, &signal);
  EXPECT_EQ(signal, SIGKILL);

  auto start = Clock::now();
  ASSERT_EQ(open(file), 0);
  EXPECT_LT(Clock::now() - start, 1s);
  std::int16_t status = 0, words = 16;
  std::int32_t uor = 0;
  EXPECT_EQ(rdtcbasc("EU.UOR", &words, &uor, &status), 0);
  EXPECT_EQ(uor, 1000);
  EXPECT_EQ(dedfpi(nullptr), 0);
  unsetenv("MSGKEY");
  unsetenv("TCBKEY");

  ASSERT_TRUE(host.wait_for_end(5000));
  EXPECT_EQ(host.end()->exit_status, 0);
  EXPECT_EQ(leftovers({host.pid()}, {key}), std::vector<std::string>{});
}

}  // namespace
}  // namespace vornel
