#include "host/requests/handlers.h"

namespace vornel::host::requests {

// Flush: pending design data reaches the file, for readers that open it directly.
void flush(HostSession& session, std::span<const std::byte>, Reply& reply) {
  reply.set_status(session.file.flush());
}

}  // namespace vornel::host::requests
