#include "client/connection/wire.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

// Complex open (3): the header takes the linkages from offset 18 and the
// symbology of the host's active settings.
void open_complex(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  editing::Placement header;
  int status = 0;
  if (!read_placement(session, request, {16, 16, 16, 18}, header, status)) {
    reply.set_status(status);
    return;
  }
  header.level = 0;
  header.graphic_group = 0;
  header.element_class = 0;
  header.style = header.weight = header.color = 0;
  reply.set_status(editor->open_complex(header));
}

// Complex close (4): type word 1 a complex chain, 0 a complex shape.
void close_complex(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  reply.set_status(editor->close_complex(wire::load<std::int16_t>(request, 16)));
}

}  // namespace vornel::host::requests
