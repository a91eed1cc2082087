#pragma once
// One attachment to a shared-memory message queue: the queue memory, its
// mutex, this process's event in it, and the cached events of the other
// attached processes, which a post sets.

#include "client/connection/queue_image.h"
#include "client/platform/named_event.h"
#include "client/platform/named_mutex.h"
#include "client/platform/shared_memory.h"

#include <array>
#include <cstdint>
#include <span>

namespace vornel::connection {

inline constexpr int kMutexWaitMs = 5000;

class MessageQueue {
 public:
  MessageQueue() = default;
  ~MessageQueue() { detach(); }
  MessageQueue(MessageQueue&&) = default;
  MessageQueue& operator=(MessageQueue&& other) noexcept {
    if (this != &other) {
      detach();
      memory_ = std::move(other.memory_);
      mutex_ = std::move(other.mutex_);
      own_event_ = std::move(other.own_event_);
      peers_ = std::move(other.peers_);
      key_ = other.key_;
      own_id_ = other.own_id_;
      other.own_id_ = 0;
    }
    return *this;
  }

  // Creates queue `key` and attaches to it. A queue of that key left behind
  // by processes that have all died is removed first; one still in use gives
  // kKeyHeld. Returns 0 or a negative transport status.
  static int create(std::uint32_t key, MessageQueue& out);
  // Attaches to an existing queue. 0, or a negative status.
  static int attach(std::uint32_t key, MessageQueue& out);
  // Removes every shared object of queue `key` (only when nobody uses it).
  static void remove_objects(std::uint32_t key);

  // Posts `message` (its first field is the type; the sender's process id is
  // stored at offset 8), sets the events of the other attached processes and
  // then `target`, when given.
  int post(std::span<std::byte> message, platform::NamedEvent* target);
  // Takes the first message of `type` (0: any); resets the own event unless
  // another message of that type is waiting.
  int take(std::span<std::byte> buffer, std::int32_t type, std::size_t* length);

  // Leaves the queue; the last live process removes its shared objects.
  void detach();
  // True while some other attached process is still running.
  bool has_live_peer();

  bool attached() const { return own_id_ != 0; }
  std::uint32_t key() const { return key_; }
  std::int32_t attachment_id() const { return own_id_; }
  const platform::NamedEvent& own_event() const { return own_event_; }

 private:
  struct Peer {
    std::int32_t id = 0;
    platform::NamedEvent event;
  };
  int join();
  int join_locked();  // the caller holds the mutex
  // Takes the mutex; when its holder died mid-change, checks the queue.
  bool lock();
  void refresh_peer(int slot, std::int32_t id);
  QueueImage image() { return QueueImage(memory_.bytes()); }

  platform::SharedMemory memory_;
  platform::NamedMutex mutex_;
  platform::NamedEvent own_event_;
  std::array<Peer, kAttachmentSlots> peers_{};
  std::uint32_t key_ = 0;
  std::int32_t own_id_ = 0;
};

}  // namespace vornel::connection
