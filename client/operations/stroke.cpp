// Stroking elements into vertices.

#include "client/connection/wire.h"
#include "client/operations/request_fields.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vornel {

using namespace operations;

namespace {

constexpr std::size_t kMaxElementBytes = 2048;
constexpr std::size_t kMaxBsplineParts = 4;

std::size_t element_bytes(const std::uint16_t* element) { return 2 * (std::size_t{element[1]} + 2); }

// The caller's size, lowered to the most one reply can carry.
std::uint32_t capped_size(std::int32_t* size) {
  if (size == nullptr) return 0;
  if (static_cast<std::uint32_t>(*size) > kMaxStrokeBytes) *size = static_cast<std::int32_t>(kMaxStrokeBytes);
  return static_cast<std::uint32_t>(*size);
}

std::int32_t vertex_count_of(std::uint32_t bytes) {
  return static_cast<std::int32_t>(bytes / (three_dimensional() ? 12 : 8));
}

}  // namespace

int stroke_element(std::int32_t* vertices, std::int32_t* size, std::int32_t* vertex_count,
                   const std::uint16_t* element, const double* tolerance, const std::int32_t* option) {
  const std::uint32_t room = capped_size(size);
  if (vertex_count != nullptr) *vertex_count = 0;
  if (element == nullptr || element_bytes(element) > kMaxElementBytes) return 934;
  const std::size_t bytes = element_bytes(element);
  connection::RequestRecord request(kStrokeElement, 24 + bytes);
  request.put(16, room);
  request.put(20, option != nullptr ? *option : 0);
  request.put(24, std::int32_t{0});
  request.put(28, tolerance != nullptr ? *tolerance : 1.0);
  std::memcpy(request.bytes().data() + 36, element, bytes);
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result != 0) return result;
  // Never more than the caller's buffer holds.
  const auto count = std::min({static_cast<std::uint32_t>(std::max(wire::load<std::int32_t>(reply, 24), 0)), room,
                               static_cast<std::uint32_t>(carried_from(reply, kStrokeVertices))});
  // The caller's size keeps its (lowered) value; the count tells what came.
  if (vertices != nullptr) std::memcpy(vertices, reply.data() + kStrokeVertices, count);
  if (vertex_count != nullptr) *vertex_count = vertex_count_of(count);
  return 0;
}

int stroke_bspline(std::int32_t* vertices, std::int32_t* size, std::int32_t* vertex_count,
                   const std::uint16_t* const* elements, const std::int16_t* element_count,
                   const double* tolerance, const std::int32_t* option) {
  const std::uint32_t room = capped_size(size);
  if (vertex_count != nullptr) *vertex_count = 0;
  const std::int16_t n = element_count != nullptr ? *element_count : 0;
  if (elements == nullptr || n < 1 || n > static_cast<std::int16_t>(kMaxBsplineParts)) return 934;
  std::array<std::size_t, kMaxBsplineParts> offsets{};
  std::size_t area = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
    if (elements[i] == nullptr || element_bytes(elements[i]) > kMaxElementBytes) return 934;
    offsets[i] = area;
    area += (element_bytes(elements[i]) + 7) / 8 * 8;
  }
  connection::RequestRecord request(kStrokeBspline, 40 + area);
  request.put(16, room);
  request.put(20, option != nullptr ? *option : 0);
  request.put(24, tolerance != nullptr ? *tolerance : 1.0);
  for (std::size_t i = 0; i < kMaxBsplineParts; ++i) request.put(32 + 4 * i, static_cast<std::int32_t>(offsets[i]));
  request.put(48, static_cast<std::int32_t>(n));
  request.put(52, static_cast<std::int32_t>(area));
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
    std::memcpy(request.bytes().data() + 56 + offsets[i], elements[i], element_bytes(elements[i]));
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result != 0) return result;
  const auto returned = static_cast<std::uint32_t>(std::max(wire::load<std::int32_t>(reply, 24), 0));
  const int status = returned > room ? 972 : 0;
  const std::uint32_t count = std::min({returned, room, static_cast<std::uint32_t>(carried_from(reply, kStrokeVertices))});
  if (vertices != nullptr) std::memcpy(vertices, reply.data() + kStrokeVertices, count);
  if (size != nullptr && status == 0) *size = static_cast<std::int32_t>(count);
  if (vertex_count != nullptr) *vertex_count = vertex_count_of(status == 0 ? count : room);
  return status;
}

}  // namespace vornel
