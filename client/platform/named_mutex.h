#pragma once
// A cross-process mutex that survives its holder: a robust, process-shared
// pthread mutex kept in a small shared-memory object of its own. When the
// holder dies the next locker gets the mutex at once and is told so, so a
// crashed process never blocks a later one.

#include "client/platform/shared_memory.h"

#include <string_view>

namespace vornel::platform {

enum class LockResult {
  acquired,
  acquired_from_dead_owner,  // the data the mutex guards may be half-written
  timed_out,
  failed,
};

class NamedMutex {
 public:
  NamedMutex() = default;

  // Opens the mutex of that name, creating and initialising it when it does
  // not exist yet. Returns 0 or an errno value.
  static int open_or_create(std::string_view name, NamedMutex& out);
  static int remove(std::string_view name) { return SharedMemory::remove(name); }

  LockResult lock(int timeout_ms);
  void unlock();

  bool valid() const { return memory_.valid(); }
  const std::string& name() const { return memory_.name(); }
  void close() { memory_.close(); }

 private:
  SharedMemory memory_;
};

// Holds a NamedMutex for one scope.
class MutexLock {
 public:
  MutexLock(NamedMutex& mutex, int timeout_ms) : mutex_(mutex), result_(mutex.lock(timeout_ms)) {}
  ~MutexLock() {
    if (owns()) mutex_.unlock();
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  bool owns() const {
    return result_ == LockResult::acquired || result_ == LockResult::acquired_from_dead_owner;
  }
  bool recovered() const { return result_ == LockResult::acquired_from_dead_owner; }

 private:
  NamedMutex& mutex_;
  LockResult result_;
};

}  // namespace vornel::platform
