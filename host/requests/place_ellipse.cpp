#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

// Ellipses: 11 with a rotation in degrees (2-D files), 12 with a rotation
// matrix (3-D files).
void place_ellipse(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const bool three_d = wire::load<std::int32_t>(request, 12) == operations::kPlaceEllipse3d;
  if (three_d != (editor->dimension() == client::Dimension::three)) {
    reply.set_status(three_d ? 918 : 917);
    return;
  }
  editing::Placement placement;
  int status = 0;
  if (request.size() < (three_d ? 144u : 72u) || !read_placement(session, request, {20, 16, 22, three_d ? 144u : 72u}, placement, status)) {
    reply.set_status(status != 0 ? status : editing::status_code::kInvalidElement);
    return;
  }
  editing::EllipseGeometry e;
  e.primary = wire::load<double>(request, 32);
  e.secondary = wire::load<double>(request, 40);
  e.origin = {wire::load<double>(request, 48), wire::load<double>(request, 56), three_d ? wire::load<double>(request, 64) : 0.0};
  if (three_d)
    for (std::size_t i = 0; i < 9; ++i) e.matrix[i] = wire::load<double>(request, 72 + 8 * i);
  else
    e.rotation_degrees = wire::load<double>(request, 64);
  place_and_reply(session, *editor, editing::build_ellipse(placement, e, editor->dimension()), request, nullptr, reply);
}

}  // namespace vornel::host::requests
