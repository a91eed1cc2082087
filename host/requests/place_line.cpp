#include "client/connection/wire.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

namespace {

void place_line_request(HostSession& session, std::span<const std::byte> request, Reply& reply, bool extended) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const std::size_t points_at = extended ? 52 : 32;
  editing::Placement placement;
  int status = 0;
  std::vector<editing::Point> points;
  if (!read_placement(session, request, {20, 16, 22, points_at + 24}, placement, status) ||
      !read_points(request, points_at, 2, editor->dimension(), points)) {
    reply.set_status(status != 0 ? status : editing::status_code::kInvalidElement);
    return;
  }
  place_and_reply(session, *editor, editing::build_line(placement, points[0], points[1], editor->dimension()), request,
                  extended ? &operations::kLineExTail : nullptr, reply);
}

}  // namespace

// Line (5) and extended line (30): two points.
void place_line(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  place_line_request(session, request, reply, false);
}

void place_line_ex(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  place_line_request(session, request, reply, true);
}

}  // namespace vornel::host::requests
