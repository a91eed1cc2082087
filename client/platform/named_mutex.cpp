#include "client/platform/named_mutex.h"

#include <atomic>
#include <cerrno>
#include <ctime>
#include <pthread.h>
#include <sched.h>

namespace vornel::platform {

namespace {

constexpr std::uint32_t kReady = 0x4d747831;  // "Mtx1": initialisation finished

struct MutexObject {
  pthread_mutex_t mutex;
  std::atomic<std::uint32_t> ready;
};

constexpr std::size_t kObjectSize = 4096;
static_assert(sizeof(MutexObject) <= kObjectSize);

int initialise(MutexObject& object) {
  pthread_mutexattr_t attr;
  pthread_mutexattr_init(&attr);
  pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
  pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
  int error = pthread_mutex_init(&object.mutex, &attr);
  pthread_mutexattr_destroy(&attr);
  if (error == 0) object.ready.store(kReady, std::memory_order_release);
  return error;
}

MutexObject& object_of(const SharedMemory& memory) {
  return *reinterpret_cast<MutexObject*>(memory.data());
}

}  // namespace

int NamedMutex::open_or_create(std::string_view name, NamedMutex& out) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    SharedMemory memory;
    int error = SharedMemory::create(name, kObjectSize, memory);
    if (error == 0) {
      error = initialise(*new (memory.data()) MutexObject{});
      if (error != 0) {
        SharedMemory::remove(name);
        return error;
      }
      out.memory_ = std::move(memory);
      return 0;
    }
    if (error != EEXIST) return error;
    error = SharedMemory::open(name, kObjectSize, memory);
    if (error == ENOENT || error == EINVAL) {
      sched_yield();  // its creator is between shm_open and ftruncate, or just removed it
      continue;
    }
    if (error != 0) return error;
    // The creator sets `ready` last; wait briefly for it.
    for (int spin = 0; spin < 10000; ++spin) {
      if (object_of(memory).ready.load(std::memory_order_acquire) == kReady) {
        out.memory_ = std::move(memory);
        return 0;
      }
      sched_yield();
    }
    return ETIMEDOUT;
  }
  return EAGAIN;
}

LockResult NamedMutex::lock(int timeout_ms) {
  if (!valid()) return LockResult::failed;
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += timeout_ms / 1000;
  deadline.tv_nsec += static_cast<long>(timeout_ms % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  pthread_mutex_t* mutex = &object_of(memory_).mutex;
  int error = pthread_mutex_trylock(mutex);
  if (error == EBUSY) error = pthread_mutex_clocklock(mutex, CLOCK_MONOTONIC, &deadline);
  switch (error) {
    case 0:
      return LockResult::acquired;
    case EOWNERDEAD:
      pthread_mutex_consistent(mutex);
      return LockResult::acquired_from_dead_owner;
    case ETIMEDOUT:
      return LockResult::timed_out;
    default:
      return LockResult::failed;
  }
}

void NamedMutex::unlock() {
  if (valid()) pthread_mutex_unlock(&object_of(memory_).mutex);
}

}  // namespace vornel::platform
