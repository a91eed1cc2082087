#include "client/platform/named_event.h"
#include "client/platform/named_mutex.h"
#include "client/platform/process.h"
#include "client/platform/shared_memory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace vornel::platform {
namespace {

using namespace std::chrono_literals;

// Names unique to this test process, removed again whatever the outcome.
class ScopedName {
 public:
  explicit ScopedName(const char* what)
      : name_("/vtest_" + std::string(what) + "_" + std::to_string(getpid())) {
    SharedMemory::remove(name_);
  }
  ~ScopedName() { SharedMemory::remove(name_); }
  const std::string& str() const { return name_; }

 private:
  std::string name_;
};

// Runs `body` in a forked child and returns its wait status.
template <class Body>
int in_child(Body body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST(SharedMemoryTest, CreateOpenRemove) {
  ScopedName name("shm");
  SharedMemory created;
  ASSERT_EQ(SharedMemory::create(name.str(), 100, created), 0);
  EXPECT_EQ(created.size(), 100u);
  std::memcpy(created.data(), "hello", 5);

  SharedMemory again;
  EXPECT_EQ(SharedMemory::create(name.str(), 100, again), EEXIST);
  SharedMemory opened;
  ASSERT_EQ(SharedMemory::open(name.str(), 100, opened), 0);
  EXPECT_EQ(std::memcmp(opened.data(), "hello", 5), 0);
  SharedMemory too_big;
  EXPECT_EQ(SharedMemory::open(name.str(), 200, too_big), EINVAL);

  EXPECT_EQ(SharedMemory::remove(name.str()), 0);
  EXPECT_FALSE(SharedMemory::exists(name.str()));
  EXPECT_EQ(std::memcmp(created.data(), "hello", 5), 0) << "mapping outlives the name";
  SharedMemory gone;
  EXPECT_EQ(SharedMemory::open(name.str(), 100, gone), ENOENT);
}

TEST(SharedMemoryTest, CreateOrReplaceClearsLeftovers) {
  ScopedName name("shm_replace");
  SharedMemory first;
  ASSERT_EQ(SharedMemory::create(name.str(), 64, first), 0);
  std::memset(first.data(), 0x5a, 64);
  SharedMemory second;
  ASSERT_EQ(SharedMemory::create_or_replace(name.str(), 64, second), 0);
  for (std::byte b : second.bytes()) ASSERT_EQ(b, std::byte{0});
}

TEST(NamedMutexTest, HolderThatDiedIsRecoveredAtOnce) {
  ScopedName name("mtx_dead");
  NamedMutex mutex;
  ASSERT_EQ(NamedMutex::open_or_create(name.str(), mutex), 0);
  // The child exits holding the mutex (through the mapping it inherited; a
  // holder must not unmap the mutex, or the kernel cannot mark it abandoned).
  int status = in_child([&] { return mutex.lock(1000) == LockResult::acquired ? 0 : 3; });
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(mutex.lock(5000), LockResult::acquired_from_dead_owner);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  mutex.unlock();
  EXPECT_EQ(mutex.lock(100), LockResult::acquired);
  mutex.unlock();
}

TEST(NamedMutexTest, LiveHolderMakesLockTimeOut) {
  ScopedName name("mtx_busy");
  NamedMutex mutex;
  ASSERT_EQ(NamedMutex::open_or_create(name.str(), mutex), 0);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t pid = fork();
  if (pid == 0) {
    NamedMutex child;
    if (NamedMutex::open_or_create(name.str(), child) != 0 || child.lock(1000) != LockResult::acquired)
      _exit(2);
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(3);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_EQ(mutex.lock(100), LockResult::timed_out);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  EXPECT_EQ(mutex.lock(1000), LockResult::acquired_from_dead_owner);
  mutex.unlock();
  close(ready[0]);
  close(ready[1]);
}

TEST(NamedEventTest, ManualResetSemantics) {
  ScopedName name("evt");
  NamedEvent event;
  ASSERT_EQ(NamedEvent::create(name.str(), event), 0);
  EXPECT_EQ(event.owner(), getpid());
  EXPECT_FALSE(event.is_set());
  EXPECT_FALSE(event.wait(20ms));
  event.set();
  EXPECT_TRUE(event.wait(0ms));
  EXPECT_TRUE(event.wait(0ms)) << "stays set until reset";
  event.reset();
  EXPECT_FALSE(event.is_set());

  NamedEvent missing;
  EXPECT_EQ(NamedEvent::open(name.str() + "x", missing), ENOENT);
}

TEST(NamedEventTest, WakesSleeperInOtherProcess) {
  ScopedName name("evt_wake");
  NamedEvent event;
  ASSERT_EQ(NamedEvent::create(name.str(), event), 0);
  pid_t pid = fork();
  if (pid == 0) {
    NamedEvent child;
    if (NamedEvent::open(name.str(), child) != 0) _exit(2);
    _exit(child.wait(5s) ? 0 : 1);
  }
  usleep(100000);  // let the child pass its spin and sleep in the kernel
  event.set();
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(NamedEventTest, WaitAnyReportsWhichEvent) {
  ScopedName a("evt_a"), b("evt_b");
  NamedEvent first, second;
  ASSERT_EQ(NamedEvent::create(a.str(), first), 0);
  ASSERT_EQ(NamedEvent::create(b.str(), second), 0);
  const NamedEvent* both[] = {&first, &second};
  EXPECT_EQ(wait_any(both, 10ms), -1);
  pid_t pid = fork();
  if (pid == 0) {
    NamedEvent child;
    if (NamedEvent::open(b.str(), child) != 0) _exit(2);
    usleep(50000);
    child.set();
    _exit(0);
  }
  EXPECT_EQ(wait_any(both, 5s), 1);
  waitpid(pid, nullptr, 0);
}

TEST(ProcessHandleTest, ExitStatusSignalAndLiveness) {
  struct Case {
    const char* script;
    int exit_status;
    int signal;
  } cases[] = {{"exit 0", 0, 0}, {"exit 3", 3, 0}, {"kill -9 $$", 0, SIGKILL}};
  for (const Case& c : cases) {
    ProcessHandle child;
    ASSERT_EQ(ProcessHandle::spawn({"/bin/sh", "-c", c.script}, child), 0);
    ASSERT_TRUE(child.wait_for_end(5000)) << c.script;
    ASSERT_TRUE(child.end().has_value());
    EXPECT_EQ(child.end()->exit_status, c.exit_status) << c.script;
    EXPECT_EQ(child.end()->signal, c.signal) << c.script;
  }

  ProcessHandle sleeper;
  ASSERT_EQ(ProcessHandle::spawn({"/bin/sleep", "30"}, sleeper), 0);
  EXPECT_FALSE(sleeper.has_ended());
  EXPECT_TRUE(process_alive(sleeper.pid()));
  ProcessHandle watcher = ProcessHandle::watch(sleeper.pid());
  EXPECT_FALSE(watcher.has_ended());
  sleeper.kill_and_reap();
  EXPECT_TRUE(watcher.wait_for_end(1000));
  EXPECT_FALSE(process_alive(sleeper.pid()));

  ProcessHandle missing;
  EXPECT_EQ(ProcessHandle::spawn({"/nonexistent/program"}, missing), ENOENT);
}

}  // namespace
}  // namespace vornel::platform
