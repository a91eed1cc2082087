#include "client/connection/status_codes.h"
#include "client/connection/wire.h"
#include "host/requests/handlers.h"

#include <string>

namespace vornel::host::requests {

// Open: an empty name keeps the file the host was started with; another
// name opens that file in its place.
void open_design(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  std::string name(wire::load_text(request, 16, 128));
  if (name.empty()) {
    reply.set_status(session.file.is_open() ? 0 : status::kNoDesignFileOpen);
    return;
  }
  if (session.file.is_open() && session.file.is_same_file(name)) return;
  if (session.clients > 1) {
    // Others are working on the open file; it must not change under them.
    reply.set_status(status::kUnableToOpenDesignFile);
    return;
  }
  DesignFile other;
  if (int result = other.open(name); result != 0) {
    reply.set_status(result);
    return;
  }
  session.file = std::move(other);
  session.tcb.load_header(session.file.header());
}

// Close: the last client's close ends the host (1021); any other client
// just leaves.
void close_design(HostSession& session, std::span<const std::byte>, Reply& reply) {
  session.client_leaves = true;
  if (session.clients <= 1) {
    session.file.flush();
    session.host_exits = true;
    reply.set_status(status::kHostExiting);
  }
}

}  // namespace vornel::host::requests
