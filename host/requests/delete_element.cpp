#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

// Delete (26): sets the deleted bit of the element at block and byte; with
// the word at 20 set to 1, a complex header's components go with it.
void delete_element(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const operations::PositionWords where{wire::load<std::uint16_t>(request, 16), wire::load<std::uint16_t>(request, 18)};
  reply.set_status(editor->erase(operations::position_of(where), wire::load<std::int16_t>(request, 20) == 1));
}

}  // namespace vornel::host::requests
