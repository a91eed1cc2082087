#include "client/platform/named_event.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <ctime>
#include <linux/futex.h>
#include <sched.h>
#include <new>
#include <sys/syscall.h>
#include <unistd.h>

namespace vornel::platform {

struct NamedEvent::Word {
  std::atomic<std::uint32_t> state;
  std::atomic<std::uint32_t> sleepers;  // processes inside futex wait; set() skips the wake when 0
  std::atomic<std::int32_t> owner;
  std::atomic<std::int32_t> setter_cpu;  // where the process that set the event last ran
};

namespace {

constexpr std::size_t kObjectSize = 64;
using Clock = std::chrono::steady_clock;

std::uint32_t* futex_address(std::atomic<std::uint32_t>& word) {
  static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t));
  return reinterpret_cast<std::uint32_t*>(&word);
}

timespec to_timespec(std::chrono::nanoseconds span) {
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
  return {static_cast<time_t>(seconds.count()), static_cast<long>((span - seconds).count())};
}

void cpu_relax() { __builtin_ia32_pause(); }

// Spins until `ready()` or the spin time is over.
template <class Ready>
bool spin_until(Ready ready, Clock::time_point limit) {
  for (unsigned round = 0;; ++round) {
    if (ready()) return true;
    if ((round & 63) == 63 && Clock::now() >= limit) return false;
    cpu_relax();
  }
}

// The spin adapts to the machine: it grows while the other side answers
// within it and shrinks while it does not, as when both processes share one
// busy core and spinning only keeps the other side from running.
std::atomic<int> spin_budget_us{static_cast<int>(kEventSpin.count())};

void adapt_spin(bool spin_would_do) {
  const int budget = spin_budget_us.load(std::memory_order_relaxed);
  const int next = spin_would_do ? std::min<int>(static_cast<int>(kEventSpin.count()), 2 * budget + 1) : budget / 2;
  spin_budget_us.store(next, std::memory_order_relaxed);
}

}  // namespace

NamedEvent::Word& NamedEvent::word() const { return *reinterpret_cast<Word*>(memory_.data()); }

int NamedEvent::create(std::string_view name, NamedEvent& out) {
  SharedMemory memory;
  int error = SharedMemory::create_or_replace(name, kObjectSize, memory);
  if (error != 0) return error;
  Word* word = new (memory.data()) Word{};
  word->setter_cpu.store(-1, std::memory_order_relaxed);  // not set yet: no core known
  word->owner.store(static_cast<std::int32_t>(getpid()), std::memory_order_release);
  out.memory_ = std::move(memory);
  return 0;
}

int NamedEvent::open(std::string_view name, NamedEvent& out) {
  SharedMemory memory;
  int error = SharedMemory::open(name, kObjectSize, memory);
  if (error != 0) return error;
  out.memory_ = std::move(memory);
  return 0;
}

void NamedEvent::set() {
  if (!valid()) return;
  Word& w = word();
  w.setter_cpu.store(sched_getcpu(), std::memory_order_relaxed);
  // seq_cst on both sides: a waiter announces itself in `sleepers` before it
  // re-reads the state, so either it sees 1 or we see it and wake it.
  w.state.store(1, std::memory_order_seq_cst);
  if (w.sleepers.load(std::memory_order_seq_cst) != 0)
    syscall(SYS_futex, futex_address(w.state), FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

void NamedEvent::reset() {
  if (valid()) word().state.store(0, std::memory_order_seq_cst);
}

bool NamedEvent::is_set() const {
  return valid() && word().state.load(std::memory_order_acquire) != 0;
}

pid_t NamedEvent::owner() const {
  return valid() ? static_cast<pid_t>(word().owner.load(std::memory_order_acquire)) : 0;
}

bool NamedEvent::wait(std::chrono::microseconds timeout) const {
  const NamedEvent* one[] = {this};
  return wait_any(one, timeout) == 0;
}

int wait_any(std::span<const NamedEvent* const> events, std::chrono::microseconds timeout) {
  if (events.empty() || events.size() > FUTEX_WAITV_MAX) return -1;
  auto first_set = [&]() -> int {
    for (std::size_t i = 0; i < events.size(); ++i)
      if (events[i]->is_set()) return static_cast<int>(i);
    return -1;
  };
  const auto start = Clock::now();
  const bool unlimited = timeout.count() < 0;
  const auto deadline = unlimited ? Clock::time_point::max() : start + timeout;
  int found = -1;
  auto spin = std::min(std::chrono::microseconds(spin_budget_us.load(std::memory_order_relaxed)),
                       unlimited ? kEventSpin : timeout);
  // The other side last ran on this core: it is most likely woken here
  // again, and cannot answer while this process spins on the core it needs.
  const int core = sched_getcpu();
  bool sharing_core = false;
  for (const NamedEvent* event : events)
    sharing_core = sharing_core || event->word().setter_cpu.load(std::memory_order_relaxed) == core;
  if (sharing_core) spin = std::chrono::microseconds(0);
  if (spin_until([&] { return (found = first_set()) >= 0; }, start + spin)) {
    adapt_spin(true);
    return found;
  }

  for (const NamedEvent* event : events) event->word().sleepers.fetch_add(1, std::memory_order_seq_cst);
  futex_waitv waiters[FUTEX_WAITV_MAX] = {};
  for (std::size_t i = 0; i < events.size(); ++i) {
    waiters[i].val = 0;
    waiters[i].uaddr = reinterpret_cast<std::uintptr_t>(futex_address(events[i]->word().state));
    waiters[i].flags = FUTEX_32;  // shared: the word lives in memory of several processes
  }
  while ((found = first_set()) < 0) {
    timespec absolute{};
    timespec* limit = nullptr;
    if (!unlimited) {
      if (Clock::now() >= deadline) break;
      // futex_waitv takes an absolute CLOCK_MONOTONIC time, like steady_clock.
      absolute = to_timespec(deadline.time_since_epoch());
      limit = &absolute;
    }
    long rc = syscall(SYS_futex_waitv, waiters, static_cast<unsigned>(events.size()), 0, limit,
                      CLOCK_MONOTONIC);
    if (rc < 0 && errno != EAGAIN && errno != EINTR && errno != ETIMEDOUT) break;
  }
  for (const NamedEvent* event : events) event->word().sleepers.fetch_sub(1, std::memory_order_seq_cst);
  // Woken soon after the spin gave up: a slightly longer spin would have done.
  if (!sharing_core) adapt_spin(found >= 0 && Clock::now() - start < kEventSpin);
  return found;
}

}  // namespace vornel::platform
