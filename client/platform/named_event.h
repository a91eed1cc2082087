#pragma once
// A manual-reset event shared between processes: a 32-bit state word in a
// small shared-memory object. set() stores 1 and wakes every waiter, reset()
// stores 0. Waiters spin briefly (a reply usually arrives within a few
// microseconds) and then sleep on the word with a shared futex.

#include "client/platform/shared_memory.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>
#include <sys/types.h>

namespace vornel::platform {

class NamedEvent {
 public:
  NamedEvent() = default;

  // Creates the event not signalled, owned by this process. A leftover object
  // of the same name (from a process that died) is taken over.
  static int create(std::string_view name, NamedEvent& out);
  static int open(std::string_view name, NamedEvent& out);
  static int remove(std::string_view name) { return SharedMemory::remove(name); }

  void set();
  void reset();
  bool is_set() const;
  // The process that created the event.
  pid_t owner() const;

  // Waits until the event is set or the timeout passes; a negative timeout
  // waits without limit. Returns true when the event is set.
  bool wait(std::chrono::microseconds timeout) const;

  bool valid() const { return memory_.valid(); }
  const std::string& name() const { return memory_.name(); }
  void close() { memory_.close(); }

 private:
  friend int wait_any(std::span<const NamedEvent* const>, std::chrono::microseconds);
  struct Word;
  Word& word() const;

  SharedMemory memory_;
};

// Waits until any of the events is set (at most 128). Returns the index of a
// set event, or -1 when the timeout passed first.
int wait_any(std::span<const NamedEvent* const> events, std::chrono::microseconds timeout);

// How long a waiter spins before it sleeps in the kernel.
inline constexpr std::chrono::microseconds kEventSpin{60};

}  // namespace vornel::platform
