#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

// B-spline curve (141): curve type, order, flag A (closed), rational flag,
// flags C and D (not used), pole and knot counts, then the fixed areas of
// poles, weights and knots. The header and its pole, knot and weight
// elements are written together.
void place_bspline(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  using namespace operations;
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const std::int16_t poles = wire::load<std::int16_t>(request, 44);
  const std::int16_t knots = wire::load<std::int16_t>(request, 46);
  if (poles < 1 || poles > static_cast<std::int16_t>(kMaxBsplinePoles) || knots < 0 ||
      knots > static_cast<std::int16_t>(kMaxBsplinePoles)) {
    reply.set_status(poles < 1 ? editing::status_code::kPolesBelowOrder : editing::status_code::kTooManyVertices);
    return;
  }
  editing::Placement placement;
  int status = 0;
  editing::BsplineGeometry curve;
  if (request.size() < kBsplineAttributes || !read_placement(session, request, {20, 16, 22, kBsplineAttributes}, placement, status) ||
      !read_points(request, kBsplinePoles, static_cast<std::size_t>(poles), editor->dimension(), curve.poles)) {
    reply.set_status(status != 0 ? status : editing::status_code::kInvalidElement);
    return;
  }
  curve.curve_type = wire::load<std::int16_t>(request, 32);
  curve.order = wire::load<std::int16_t>(request, 34);
  curve.closed = wire::load<std::int16_t>(request, 36) == 1;
  if (wire::load<std::int16_t>(request, 38) > 0)
    for (std::size_t i = 0; i < static_cast<std::size_t>(poles); ++i) curve.weights.push_back(wire::load<double>(request, kBsplineWeights + 8 * i));
  for (std::size_t i = 0; i < static_cast<std::size_t>(knots); ++i) curve.knots.push_back(wire::load<double>(request, kBsplineKnots + 8 * i));
  place_and_reply(session, *editor, editing::build_bspline(placement, curve, editor->dimension()), request, nullptr, reply);
}

}  // namespace vornel::host::requests
