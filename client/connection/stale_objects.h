#pragma once
// Shared objects outlive a process that was killed. Before a client or host
// sets up its own, it removes those whose owners have all died: process
// events and TCBs named after a dead process, queue events of dead
// attachments, and queues whose attached processes are all gone.

namespace vornel::connection {

void remove_stale_objects();

}  // namespace vornel::connection
