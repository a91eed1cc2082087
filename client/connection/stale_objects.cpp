#include "client/connection/stale_objects.h"

#include "client/connection/message_queue.h"
#include "client/connection/object_names.h"
#include "client/connection/queue_image.h"
#include "client/platform/named_event.h"
#include "client/platform/process.h"
#include "client/platform/shared_memory.h"

#include <cstdlib>
#include <string>

namespace vornel::connection {

namespace {

using platform::SharedMemory;

// The hexadecimal number that follows `prefix` in a name like "/p1Event00001234".
bool number_after(const std::string& name, std::size_t prefix_length, unsigned long& value) {
  const char* digits = name.c_str() + prefix_length;
  char* end = nullptr;
  value = std::strtoul(digits, &end, 16);
  return end == digits + 8;
}

void remove_named_after_dead_process(const char* prefix) {
  const std::size_t length = std::string(prefix).size() + 1;  // with the '/'
  for (const std::string& name : SharedMemory::list(prefix)) {
    unsigned long pid = 0;
    if (number_after(name, length, pid) && !platform::process_alive(static_cast<pid_t>(pid)))
      SharedMemory::remove(name);
  }
}

bool owner_dead(const std::string& event_name) {
  platform::NamedEvent event;
  return platform::NamedEvent::open(event_name, event) == 0 && event.owner() > 0 &&
         !platform::process_alive(event.owner());
}

void remove_abandoned_queues() {
  for (const std::string& name : SharedMemory::list("qMem")) {
    unsigned long key = 0;
    if (!number_after(name, 5, key)) continue;
    SharedMemory memory;
    if (SharedMemory::open(name, kQueueBytes, memory) != 0) continue;
    // Read without the mutex: a wrong guess only keeps a queue one run longer.
    QueueImage image(memory.bytes());
    bool attached = false, all_dead = true;
    for (int s = 0; s < kAttachmentSlots; ++s) {
      if (image.slot(s) == 0) continue;
      attached = true;
      all_dead = all_dead && owner_dead(queue_event_name(static_cast<std::uint32_t>(key), image.slot(s)));
    }
    // A queue without attachments may be a new one whose creator is just joining.
    if (attached && all_dead) MessageQueue::remove_objects(static_cast<std::uint32_t>(key));
  }
  for (const std::string& name : SharedMemory::list("qEvnt"))
    if (owner_dead(name)) SharedMemory::remove(name);
}

}  // namespace

void remove_stale_objects() {
  remove_named_after_dead_process("p1Event");
  remove_named_after_dead_process("p2Event");
  remove_named_after_dead_process("dgnTcb");
  remove_abandoned_queues();
}

}  // namespace vornel::connection
