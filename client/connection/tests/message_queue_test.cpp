#include "client/connection/message_queue.h"

#include "client/connection/object_names.h"
#include "client/connection/stale_objects.h"
#include "client/connection/status_codes.h"
#include "client/connection/wire.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace vornel::connection {
namespace {

using namespace std::chrono_literals;
using platform::SharedMemory;

// A key no real client of this test process would choose (n = 200).
std::uint32_t test_key(std::uint32_t salt) {
  return static_cast<std::uint32_t>(getpid()) + 0x10000u * (200 + salt);
}

struct KeyGuard {
  explicit KeyGuard(std::uint32_t k) : key(k) { MessageQueue::remove_objects(key); }
  ~KeyGuard() { MessageQueue::remove_objects(key); }
  std::uint32_t key;
};

std::array<std::byte, 64> small_message(std::int32_t type, std::int32_t value) {
  std::array<std::byte, 64> m{};
  wire::store(std::span(m), 0, type);
  wire::store(std::span(m), 16, value);
  return m;
}

int finish(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(MessageQueueTest, TwoProcessesExchangeAndLastOneRemovesObjects) {
  KeyGuard guard(test_key(1));
  MessageQueue queue;
  ASSERT_EQ(MessageQueue::create(guard.key, queue), 0);
  EXPECT_EQ(queue.attachment_id(), 1);

  pid_t pid = fork();
  if (pid == 0) {
    MessageQueue peer;
    if (MessageQueue::attach(guard.key, peer) != 0 || peer.attachment_id() != 2) _exit(2);
    auto request = small_message(100, 41);
    if (peer.post(request, nullptr) != 0) _exit(3);
    std::array<std::byte, 64> reply{};
    for (int i = 0; i < 50; ++i) {
      if (peer.take(reply, 101, nullptr) == 0) _exit(wire::load<std::int32_t>(reply, 16) == 42 ? 0 : 4);
      peer.own_event().wait(100ms);
    }
    _exit(5);
  }
  std::array<std::byte, 64> request{};
  bool got = false;
  for (int i = 0; i < 50 && !got; ++i) {
    got = queue.take(request, 100, nullptr) == 0;
    if (!got) queue.own_event().wait(100ms);
  }
  ASSERT_TRUE(got);
  EXPECT_EQ(wire::load<std::int32_t>(request, 8), pid) << "sender's pid is stamped";
  auto reply = small_message(101, wire::load<std::int32_t>(request, 16) + 1);
  ASSERT_EQ(queue.post(reply, nullptr), 0);
  EXPECT_EQ(finish(pid), 0);

  queue.detach();
  EXPECT_FALSE(SharedMemory::exists(queue_memory_name(guard.key)));
  EXPECT_FALSE(SharedMemory::exists(queue_mutex_name(guard.key)));
  EXPECT_FALSE(SharedMemory::exists(queue_event_name(guard.key, 1)));
  EXPECT_FALSE(SharedMemory::exists(queue_event_name(guard.key, 2)));
}

TEST(MessageQueueTest, QueueOfDeadProcessIsReplacedButLiveOneIsHeld) {
  KeyGuard guard(test_key(2));
  pid_t crashed = fork();
  if (crashed == 0) {
    MessageQueue queue;
    _exit(MessageQueue::create(guard.key, queue) == 0 ? 0 : 2);  // leaves without detaching
  }
  ASSERT_EQ(finish(crashed), 0);
  ASSERT_TRUE(SharedMemory::exists(queue_memory_name(guard.key)));
  {
    MessageQueue queue;
    EXPECT_EQ(MessageQueue::create(guard.key, queue), 0);
    EXPECT_EQ(queue.attachment_id(), 1) << "a fresh queue, not the leftover";
  }

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t live = fork();
  if (live == 0) {
    MessageQueue queue;
    if (MessageQueue::create(guard.key, queue) != 0) _exit(2);
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(3);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  MessageQueue second;
  EXPECT_EQ(MessageQueue::create(guard.key, second), status::kKeyHeld);
  kill(live, SIGKILL);
  finish(live);
  EXPECT_EQ(MessageQueue::create(guard.key, second), 0);
  close(ready[0]);
  close(ready[1]);
}

TEST(MessageQueueTest, ProcessKilledHoldingTheMutexDoesNotBlockOthers) {
  KeyGuard guard(test_key(3));
  MessageQueue queue;
  ASSERT_EQ(MessageQueue::create(guard.key, queue), 0);
  auto first = small_message(100, 1);
  ASSERT_EQ(queue.post(first, nullptr), 0);

  pid_t pid = fork();
  if (pid == 0) {
    platform::NamedMutex mutex;
    if (platform::NamedMutex::open_or_create(queue_mutex_name(guard.key), mutex) != 0) _exit(2);
    if (mutex.lock(1000) != platform::LockResult::acquired) _exit(3);
    raise(SIGKILL);
  }
  finish(pid);

  auto start = std::chrono::steady_clock::now();
  auto second = small_message(100, 2);
  EXPECT_EQ(queue.post(second, nullptr), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  std::array<std::byte, 64> buffer{};
  ASSERT_EQ(queue.take(buffer, 100, nullptr), 0);
  EXPECT_EQ(wire::load<std::int32_t>(buffer, 16), 1) << "an intact queue keeps its messages";
}

TEST(StaleObjectsTest, ObjectsOfDeadProcessesAreRemovedOthersKept) {
  KeyGuard dead_key(test_key(4)), live_key(test_key(5));
  // Everything a client and a host leave behind when they are killed.
  auto leave_objects = [](std::uint32_t key) {
    MessageQueue queue;
    if (MessageQueue::create(key, queue) != 0) return 2;
    pid_t self = getpid();
    platform::NamedEvent events[2];
    SharedMemory tcb;
    if (platform::NamedEvent::create(send_event_name(self), events[0]) != 0 ||
        platform::NamedEvent::create(get_event_name(self), events[1]) != 0 ||
        SharedMemory::create(format_name("/dgnTcb%08lx", static_cast<unsigned long>(self)), 8912, tcb) != 0)
      return 3;
    return 0;
  };
  pid_t dead = fork();
  if (dead == 0) _exit(leave_objects(dead_key.key));  // _exit: no destructors, no clean-up
  ASSERT_EQ(finish(dead), 0);
  MessageQueue live;
  ASSERT_EQ(MessageQueue::create(live_key.key, live), 0);
  platform::NamedEvent own_send;
  ASSERT_EQ(platform::NamedEvent::create(send_event_name(getpid()), own_send), 0);

  const std::vector<std::string> dead_names = {
      queue_memory_name(dead_key.key), queue_mutex_name(dead_key.key), queue_event_name(dead_key.key, 1),
      send_event_name(dead), get_event_name(dead), format_name("/dgnTcb%08lx", static_cast<unsigned long>(dead))};
  // (Other tests running at the same time may sweep them too; either way they must go.)
  remove_stale_objects();
  for (const std::string& name : dead_names) EXPECT_FALSE(SharedMemory::exists(name)) << name;
  EXPECT_TRUE(SharedMemory::exists(queue_memory_name(live_key.key)));
  EXPECT_TRUE(SharedMemory::exists(queue_event_name(live_key.key, 1)));
  EXPECT_TRUE(SharedMemory::exists(send_event_name(getpid())));
  platform::NamedEvent::remove(send_event_name(getpid()));
}

}  // namespace
}  // namespace vornel::connection
