// Lines, line strings, curves and shapes; long line strings and shapes are
// split into pieces of 101 vertices inside a complex element.

#include "client/connection/status_codes.h"
#include "client/operations/place_shared.h"
#include "client/operations/request_fields.h"

#include <algorithm>

namespace vornel {

using namespace operations;

namespace {

constexpr std::int16_t kMaxVertices = 101;
constexpr std::size_t kPointArea = 24;

void put_points(connection::RequestRecord& request, std::size_t offset, const std::int32_t* points, std::size_t count) {
  for (std::size_t i = 0; i < count * coordinates_per_point(); ++i) request.put(offset + 4 * i, points[i]);
}

int line_request(std::int32_t code, const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
                 const std::int32_t* points, std::int16_t* status, const std::int16_t* attributes,
                 const ExtendedArguments* extended) {
  bool too_long = false;
  const auto words = attribute_words(attributes, too_long);
  if (too_long) return set_status(status, 921);
  const std::size_t point_offset = extended != nullptr ? 52 : 32;
  auto request = placement_request(code, extended != nullptr ? 64 : 44, point_offset + kPointArea, words);
  request.put(16, mode_pair_value(mode_pair));
  request.put(20, level_value(level));
  put_symbology(request, 22, symbology_or_active(symbology));
  if (points != nullptr) put_points(request, point_offset, points, 2);
  if (extended != nullptr) put_extended_tail(request, kLineExTail, *extended);
  LineStyleGuard style(symbology != nullptr);
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result == 0 && extended != nullptr) take_extended_reply(reply, *extended);
  return set_status(status, result);
}

// Line strings, curves and shapes: level first, then the mode pair.
int vertex_request(std::int32_t code, const std::int16_t* mode_pair, const std::int16_t* level,
                   const Symbology* symbology, const std::int32_t* vertices, std::int16_t count,
                   const std::vector<std::uint16_t>& words, const ExtendedArguments* extended) {
  const std::size_t vertex_offset = extended != nullptr ? 56 : 36;
  const std::size_t vertex_bytes = static_cast<std::size_t>(count) * 4 * coordinates_per_point();
  auto request = placement_request(code, (extended != nullptr ? 42 : 22) + vertex_bytes, vertex_offset + vertex_bytes, words);
  request.put(16, level_value(level));
  request.put(18, mode_pair_value(mode_pair));
  put_symbology(request, 22, symbology_or_active(symbology));
  request.put(32, count);
  put_points(request, vertex_offset, vertices, static_cast<std::size_t>(count));
  if (extended != nullptr) put_extended_tail(request, kLineStringExTail, *extended);
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result == 0 && extended != nullptr) take_extended_reply(reply, *extended);
  return result;
}

int extended_vertex_operation(std::int32_t code, std::int16_t least, std::int16_t most, const std::int16_t* mode_pair,
                              const std::int16_t* level, const Symbology* symbology, const std::int32_t* vertices,
                              const std::int16_t* count, std::int16_t* status, const std::int16_t* attributes,
                              const ExtendedArguments& extended) {
  const std::int16_t n = count != nullptr ? *count : 0;
  if (n < least || vertices == nullptr) return set_status(status, 904);
  // The extended operations never split: past the element's limit is an error.
  if (n > most) return set_status(status, 905);
  bool too_long = false;
  const auto words = attribute_words(attributes, too_long);
  if (too_long) return set_status(status, 921);
  LineStyleGuard style(symbology != nullptr);
  return set_status(status, vertex_request(code, mode_pair, level, symbology, vertices, n, words, &extended));
}

// Words of the complex element that a split of n vertices makes.
long complex_size(long n, bool three_d) {
  long size = (three_d ? 625 : 423) * (n / 100) + 24;
  if (n % 100 > 1) size += (three_d ? 6 : 4) * (n % 100) + 19;
  return size;
}

// shdfpi and lsdfpi: one element, or pieces of 101 vertices sharing their
// end vertices inside a complex shape (type word 0) or chain (1).
int split_operation(std::int32_t code, std::int16_t least, std::int16_t type_word, const std::int16_t* mode_pair,
                    const std::int16_t* level, const Symbology* symbology, const std::int32_t* vertices,
                    const std::int16_t* count, std::int16_t* status, const std::int16_t* attributes) {
  const std::int16_t n = count != nullptr ? *count : 0;
  if (n < least || vertices == nullptr) return set_status(status, 904);
  bool too_long = false;
  const auto words = attribute_words(attributes, too_long);
  if (too_long) return set_status(status, 921);
  LineStyleGuard style(symbology != nullptr);
  if (n <= kMaxVertices) return set_status(status, vertex_request(code, mode_pair, level, symbology, vertices, n, words, nullptr));

  const bool own_complex = !complex_element_open() && (level_value(level) & 0xB800) == 0;
  if (own_complex) {
    if (complex_size(n, three_dimensional()) >= 65535) return set_status(status, 905);
    if (int opened = bcmplx(attributes, status); opened != 0) return opened;
  }
  const std::size_t stride = coordinates_per_point();
  int result = 0;
  bool first = true;
  for (long start = 0, remaining = n; remaining > 1; start += 100, remaining -= 100) {
    const auto piece = static_cast<std::int16_t>(std::min<long>(remaining, kMaxVertices));
    const std::vector<std::uint16_t> none;
    const auto& piece_words = first && !own_complex ? words : none;
    result = vertex_request(kPlaceLineString, mode_pair, level, symbology, vertices + static_cast<std::size_t>(start) * stride,
                            piece, piece_words, nullptr);
    set_status(status, result);
    first = false;
  }
  if (!own_complex) return result;
  return ecmplx(&type_word, status);
}

}  // namespace

int lndfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int32_t* points, std::int16_t* status, const std::int16_t* attributes) {
  return line_request(kPlaceLine, mode_pair, level, symbology, points, status, attributes, nullptr);
}

int lndfpi_ex(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
              const std::int32_t* points, std::int16_t* status, const std::int16_t* attributes,
              const std::int16_t* option, std::int32_t* block, std::int16_t* byte, const std::int32_t* low,
              const std::int32_t* high, void* element, std::int32_t* size) {
  const ExtendedArguments extended{option, block, byte, low, high, element, size};
  return line_request(kPlaceLineEx, mode_pair, level, symbology, points, status, attributes, &extended);
}

int lsdfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
           const std::int16_t* attributes) {
  return split_operation(kPlaceLineString, 2, 1, mode_pair, level, symbology, vertices, count, status, attributes);
}

int lsdfpi_ex(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
              const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
              const std::int16_t* attributes, const std::int16_t* option, std::int32_t* block,
              std::int16_t* byte, const std::int32_t* low, const std::int32_t* high, void* element,
              std::int32_t* size) {
  return extended_vertex_operation(kPlaceLineStringEx, 2, kMaxVertices, mode_pair, level, symbology, vertices, count,
                                   status, attributes, {option, block, byte, low, high, element, size});
}

int cudfpi_ex(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
              const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
              const std::int16_t* attributes, const std::int16_t* option, std::int32_t* block,
              std::int16_t* byte, const std::int32_t* low, const std::int32_t* high, void* element,
              std::int32_t* size) {
  // The host adds two control points at each end: 97 points fill a record.
  return extended_vertex_operation(kPlaceCurveEx, 3, kMaxVertices - 4, mode_pair, level, symbology, vertices, count,
                                   status, attributes, {option, block, byte, low, high, element, size});
}

int shdfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int32_t* vertices, const std::int16_t* count, std::int16_t* status,
           const std::int16_t* attributes) {
  return split_operation(kPlaceShape, 3, 0, mode_pair, level, symbology, vertices, count, status, attributes);
}

}  // namespace vornel
