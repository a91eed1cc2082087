#include "client/connection/wire.h"
#include "client/database/database_layout.h"
#include "host/requests/handlers.h"

namespace vornel::host::requests {

// Database attach and detach: a zero key at offset 16 attaches the sending
// process, a nonzero one (the client's queue key) detaches it.
void database_attach(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  const auto client = static_cast<pid_t>(wire::load<std::int32_t>(request, 8));
  if (wire::load<std::int32_t>(request, dbwire::kAttachKeyOffset) == 0) {
    session.database.attach_client(client);
    return;
  }
  reply.set_status(session.database.detach_client(client));
}

}  // namespace vornel::host::requests
