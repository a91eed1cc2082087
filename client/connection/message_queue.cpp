#include "client/connection/message_queue.h"

#include "client/connection/object_names.h"
#include "client/connection/status_codes.h"
#include "client/connection/wire.h"
#include "client/platform/process.h"

#include <cerrno>
#include <vector>

namespace vornel::connection {

using platform::MutexLock;
using platform::NamedEvent;
using platform::NamedMutex;
using platform::SharedMemory;

namespace {

// The process that created the event of attachment `id`, 0 when unknown.
pid_t attachment_owner(std::uint32_t key, std::int32_t id) {
  NamedEvent event;
  return NamedEvent::open(queue_event_name(key, id), event) == 0 ? event.owner() : 0;
}

bool attachment_alive(std::uint32_t key, std::int32_t id) {
  return platform::process_alive(attachment_owner(key, id));
}

}  // namespace

void MessageQueue::remove_objects(std::uint32_t key) {
  SharedMemory memory;
  if (SharedMemory::open(queue_memory_name(key), kQueueBytes, memory) == 0) {
    QueueImage image(memory.bytes());
    for (int s = 0; s < kAttachmentSlots; ++s)
      if (image.slot(s) != 0) NamedEvent::remove(queue_event_name(key, image.slot(s)));
  }
  SharedMemory::remove(queue_memory_name(key));
  NamedMutex::remove(queue_mutex_name(key));
}

int MessageQueue::create(std::uint32_t key, MessageQueue& out) {
  const std::string name = queue_memory_name(key);
  if (SharedMemory::exists(name)) {
    // Windows drops a named object with its last handle; here a crashed run
    // leaves it behind. Reuse the key only when no attached process lives.
    MessageQueue existing;
    if (attach(key, existing) == 0 && existing.has_live_peer()) return status::kKeyHeld;
    existing.own_id_ = 0;  // leave without the last-one clean-up; all goes below
    existing.memory_.close();
    remove_objects(key);
  }

  // The mutex comes first and is held until the queue is complete, so that
  // a process attaching at once waits for it instead of seeing half a queue.
  MessageQueue queue;
  queue.key_ = key;
  NamedMutex::remove(queue_mutex_name(key));  // a leftover could be held by the dead
  if (NamedMutex::open_or_create(queue_mutex_name(key), queue.mutex_) != 0) return status::kOutOfMemory;
  if (!queue.lock()) return status::kMutexTimeout;
  int error = SharedMemory::create(name, kQueueBytes, queue.memory_);
  int result = 0;
  if (error == EEXIST) result = status::kKeyHeld;  // another process was quicker
  else if (error == EACCES || error == EPERM) result = status::kNoKeyNoPermission;
  else if (error != 0) result = status::kOutOfMemory;
  if (result == 0) {
    queue.image().initialise();
    result = queue.join_locked();
  }
  queue.mutex_.unlock();
  if (result != 0) {
    if (error == 0) remove_objects(key);
    queue.own_id_ = 0;
    return result;
  }
  out = std::move(queue);
  return 0;
}

int MessageQueue::attach(std::uint32_t key, MessageQueue& out) {
  MessageQueue queue;
  queue.key_ = key;
  int error = SharedMemory::open(queue_memory_name(key), kQueueBytes, queue.memory_);
  if (error != 0) return error == EACCES ? status::kNoKeyNoPermission : status::kOutOfMemory;
  if (NamedMutex::open_or_create(queue_mutex_name(key), queue.mutex_) != 0) return status::kOutOfMemory;
  int result = queue.join();
  if (result == 0) out = std::move(queue);
  return result;
}

bool MessageQueue::lock() {
  platform::LockResult result = mutex_.lock(kMutexWaitMs);
  if (result == platform::LockResult::acquired_from_dead_owner) {
    // The dead holder may have stopped in the middle of a post or a take.
    if (!image().consistent()) image().discard_messages();
    return true;
  }
  return result == platform::LockResult::acquired;
}

int MessageQueue::join() {
  if (!lock()) return status::kMutexTimeout;
  int result = join_locked();
  mutex_.unlock();
  return result;
}

int MessageQueue::join_locked() {
  QueueImage queue = image();
  int free_slot = -1;
  for (int s = 0; s < kAttachmentSlots && free_slot < 0; ++s)
    if (queue.slot(s) == 0) free_slot = s;
  // Slots of processes that died without leaving are given back.
  for (int s = 0; s < kAttachmentSlots && free_slot < 0; ++s)
    if (!attachment_alive(key_, queue.slot(s))) {
      NamedEvent::remove(queue_event_name(key_, queue.slot(s)));
      queue.set_slot(s, 0);
      free_slot = s;
    }
  int result = status::kNoFreeKey;
  if (free_slot >= 0) {
    std::int32_t id = queue.take_attachment_id();
    if (NamedEvent::create(queue_event_name(key_, id), own_event_) == 0) {
      queue.set_slot(free_slot, id);
      own_id_ = id;
      // Messages posted before we came have set no event of ours.
      if (queue.has_message(0)) own_event_.set();
      result = 0;
    } else {
      result = status::kOutOfMemory;
    }
  }
  return result;
}

void MessageQueue::refresh_peer(int slot, std::int32_t id) {
  Peer& peer = peers_[slot];
  if (peer.id == id) return;
  peer.event.close();
  peer.id = id;
  if (id != 0) NamedEvent::open(queue_event_name(key_, id), peer.event);
}

int MessageQueue::post(std::span<std::byte> message, NamedEvent* target) {
  wire::store(message, 8, static_cast<std::int32_t>(platform::current_process_id()));
  if (!lock()) return status::kMutexTimeout;
  QueueImage queue = image();
  int result = queue.post(message);
  if (result == 0) {
    for (int s = 0; s < kAttachmentSlots; ++s) {
      std::int32_t id = queue.slot(s);
      if (id == own_id_) continue;
      refresh_peer(s, id);
      if (peers_[s].id != 0) peers_[s].event.set();
    }
    if (target != nullptr) target->set();
  }
  mutex_.unlock();
  return result;
}

int MessageQueue::take(std::span<std::byte> buffer, std::int32_t type, std::size_t* length) {
  if (!lock()) return status::kMutexTimeout;
  int result = image().take(buffer, type, length);
  // The event stays set while more is queued for us, so that a waiter can
  // look at the event alone before it takes (and contends for) the mutex.
  if (result != 0 || !image().has_message(type)) own_event_.reset();
  mutex_.unlock();
  return result;
}

bool MessageQueue::has_live_peer() {
  if (!memory_.valid()) return false;
  bool locked = lock();
  QueueImage queue = image();
  std::vector<std::int32_t> others;
  for (int s = 0; s < kAttachmentSlots; ++s)
    if (queue.slot(s) != 0 && queue.slot(s) != own_id_) others.push_back(queue.slot(s));
  if (locked) mutex_.unlock();
  for (std::int32_t id : others)
    if (attachment_alive(key_, id)) return true;
  return false;
}

void MessageQueue::detach() {
  if (own_id_ == 0 || !memory_.valid()) {
    memory_.close();
    return;
  }
  bool last = false;
  if (lock()) {
    QueueImage queue = image();
    for (int s = 0; s < kAttachmentSlots; ++s)
      if (queue.slot(s) == own_id_) queue.set_slot(s, 0);
    mutex_.unlock();
    last = !has_live_peer();
  }
  own_event_.close();
  NamedEvent::remove(queue_event_name(key_, own_id_));
  for (Peer& peer : peers_) peer = Peer{};
  if (last) remove_objects(key_);
  mutex_.close();
  memory_.close();
  own_id_ = 0;
}

}  // namespace vornel::connection
