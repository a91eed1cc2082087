#include "client/connection/wire.h"
#include "host/requests/handlers.h"

#include <cstring>

namespace vornel::host::requests {

// Connect: the reply carries the name of the TCB object, or the status of
// opening the design file when that failed (the host then ends).
void connect(HostSession& session, std::span<const std::byte>, Reply& reply) {
  if (session.startup_status != 0) {
    reply.set_status(session.startup_status);
    session.host_exits = true;
    return;
  }
  const std::string& name = session.tcb.name();
  reply.data().assign(name.size() + 1, std::byte{0});
  std::memcpy(reply.data().data(), name.data(), name.size());
}

}  // namespace vornel::host::requests
