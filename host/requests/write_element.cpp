#include "client/connection/wire.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

// Rewrite at a byte position (126): the memory form at 24 replaces the
// element there when its file size is the same.
void write_element_at(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const auto position = wire::load<std::int32_t>(request, 20);
  if (position <= 0 || request.size() < 28) {
    reply.set_status(editing::status_code::kCantWriteAtPosition);
    return;
  }
  const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(request.data() + 24), request.size() - 24);
  reply.set_status(editor->rewrite(static_cast<std::uint32_t>(position), bytes));
}

}  // namespace vornel::host::requests
