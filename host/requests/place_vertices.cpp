#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

// Line strings (6, 31), curves (7, 32) and shapes (8, 33): level, mode pair,
// symbology, a vertex count and the vertices, then the linkages.
void place_vertices(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const auto code = wire::load<std::int32_t>(request, 12);
  const bool extended = code == operations::kPlaceLineStringEx || code == operations::kPlaceCurveEx ||
                        code == operations::kPlaceShapeEx;
  const bool curve = code == operations::kPlaceCurve || code == operations::kPlaceCurveEx;
  const bool shape = code == operations::kPlaceShape || code == operations::kPlaceShapeEx;
  const std::int16_t count = wire::load<std::int16_t>(request, 32);
  if (count < (shape || curve ? 3 : 2)) {
    reply.set_status(editing::status_code::kTooFewVertices);
    return;
  }
  if (count > static_cast<std::int16_t>(editing::kMaxVertices)) {
    reply.set_status(editing::status_code::kTooManyVertices);
    return;
  }
  const std::size_t vertices_at = extended ? 56 : 36;
  const std::size_t stride = editor->dimension() == client::Dimension::three ? 12 : 8;
  editing::Placement placement;
  int status = 0;
  std::vector<editing::Point> points;
  if (!read_points(request, vertices_at, static_cast<std::size_t>(count), editor->dimension(), points) ||
      !read_placement(session, request, {16, 18, 22, vertices_at + stride * static_cast<std::size_t>(count)}, placement, status)) {
    reply.set_status(status != 0 ? status : editing::status_code::kInvalidElement);
    return;
  }
  editing::BuildResult built =
      curve ? editing::build_curve(placement, points, editor->dimension())
            : editing::build_vertex_element(shape ? client::element::shape : client::element::line_string, placement,
                                            points, editor->dimension());
  place_and_reply(session, *editor, std::move(built), request, extended ? &operations::kLineStringExTail : nullptr, reply);
}

}  // namespace vornel::host::requests
