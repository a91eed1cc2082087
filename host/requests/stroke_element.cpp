#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "host/editing/edit_status.h"
#include "host/editing/stroke.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

#include <array>

namespace vornel::host::requests {

namespace {

// Byte count at 24, continuation 28, result 32, vertices from 36; a stroke
// that does not fit the bytes asked for is refused with 972.
void reply_vertices(const editing::StrokeResult& stroked, std::uint32_t most, client::Dimension dimension, Reply& reply) {
  if (stroked.status != 0) {
    reply.set_status(stroked.status);
    return;
  }
  const std::size_t stride = dimension == client::Dimension::three ? 12 : 8;
  const std::size_t bytes = stroked.vertices.size() * stride;
  if (bytes > most) {
    reply.set_status(editing::status_code::kBufferTooLarge);
    return;
  }
  auto& data = reply.data();
  data.assign(12 + bytes, std::byte{0});
  std::span<std::byte> out(data);
  wire::store(out, 0, static_cast<std::int32_t>(bytes));
  for (std::size_t i = 0; i < stroked.vertices.size(); ++i) {
    const editing::Point& p = stroked.vertices[i];
    wire::store(out, 12 + stride * i, p.x);
    wire::store(out, 12 + stride * i + 4, p.y);
    if (stride == 12) wire::store(out, 12 + stride * i + 8, p.z);
  }
}

std::span<const std::uint8_t> element_in(std::span<const std::byte> request, std::size_t offset, std::size_t limit) {
  if (offset + 4 > limit) return {};
  const std::size_t bytes = 2 * (std::size_t{wire::load<std::uint16_t>(request, offset + 2)} + 2);
  if (offset + bytes > limit) return {};
  return {reinterpret_cast<const std::uint8_t*>(request.data() + offset), bytes};
}

std::uint32_t most_bytes(std::span<const std::byte> request) {
  return std::min(wire::load<std::uint32_t>(request, 16), operations::kMaxStrokeBytes);
}

}  // namespace

// Stroke one element (78): tolerance at 28, the element from 36.
void stroke_element(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const auto element = element_in(request, 36, request.size());
  if (element.empty()) {
    reply.set_status(editing::status_code::kInvalidElement);
    return;
  }
  reply_vertices(editing::stroke_element(element, wire::load<double>(request, 28), editor->dimension()),
                 most_bytes(request), editor->dimension(), reply);
}

// Stroke a B-spline (150): tolerance at 24, four offsets at 32 into the
// element area at 56, the element count at 48 and the area's size at 52.
void stroke_bspline(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const auto count = wire::load<std::int32_t>(request, 48);
  const auto area = wire::load<std::int32_t>(request, 52);
  if (count < 1 || count > 4 || area < 0 || request.size() < 56 || static_cast<std::size_t>(area) > request.size() - 56) {
    reply.set_status(editing::status_code::kInvalidElement);
    return;
  }
  std::vector<std::span<const std::uint8_t>> parts;
  for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
    const auto offset = wire::load<std::int32_t>(request, 32 + 4 * i);
    const auto part = offset < 0 ? std::span<const std::uint8_t>{} : element_in(request, 56 + static_cast<std::size_t>(offset), 56 + static_cast<std::size_t>(area));
    if (part.empty()) {
      reply.set_status(editing::status_code::kInvalidElement);
      return;
    }
    parts.push_back(part);
  }
  reply_vertices(editing::stroke_bspline(parts, wire::load<double>(request, 24), editor->dimension()),
                 most_bytes(request), editor->dimension(), reply);
}

}  // namespace vornel::host::requests
