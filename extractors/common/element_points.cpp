#include "extractors/common/element_points.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"

namespace vornel::extract {
namespace {

namespace el = client::element;

// Memory-form offsets of the origins, 2-D and 3-D.
constexpr std::size_t kLineStart = 40;
constexpr std::size_t kVertexCount = 40;
constexpr std::size_t kFirstVertex = 44;
constexpr std::size_t kCellOrigin2d = 92;   // after range (4) and matrix (4)
constexpr std::size_t kCellOrigin3d = 120;  // after range (6) and matrix (9)
constexpr std::size_t kTextNodeOrigin2d = 68;
constexpr std::size_t kTextNodeOrigin3d = 80;
constexpr std::size_t kTextOrigin2d = 56;
constexpr std::size_t kTextOrigin3d = 68;
constexpr std::size_t kEllipseOrigin2d = 64;
constexpr std::size_t kEllipseOrigin3d = 72;
constexpr std::size_t kCurveControlPoints = 2;  // at each end

std::size_t record_bytes(std::span<const std::uint8_t> element) {
  if (element.size() < 4) return 0;
  const std::size_t words = std::size_t{client::get_word(element.data(), 2)} + 2;
  return std::min(words * 2, element.size());
}

std::int32_t long_at(std::span<const std::uint8_t> e, std::size_t offset) {
  return static_cast<std::int32_t>(client::get_long(e.data(), offset));
}

std::int32_t truncated(double value) {
  if (!std::isfinite(value)) return 0;
  constexpr double low = std::numeric_limits<std::int32_t>::min();
  constexpr double high = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::trunc(std::clamp(value, low, high)));
}

double double_at(std::span<const std::uint8_t> e, std::size_t offset) {
  double value = 0;
  std::memcpy(&value, e.data() + offset, sizeof value);
  return value;
}

// Reads `count` integer vertices from `offset`; false when the record is short.
bool integer_vertices(std::span<const std::uint8_t> e, std::size_t offset, std::size_t count,
                      int dimension, std::vector<Vertex>& out) {
  const std::size_t stride = 4 * static_cast<std::size_t>(dimension);
  if (offset + count * stride > e.size()) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = offset + i * stride;
    out.push_back({long_at(e, at), long_at(e, at + 4), dimension == 3 ? long_at(e, at + 8) : 0});
  }
  return true;
}

bool origin_vertex(std::span<const std::uint8_t> e, std::size_t offset2d, std::size_t offset3d,
                   int dimension, std::vector<Vertex>& out) {
  return integer_vertices(e, dimension == 3 ? offset3d : offset2d, 1, dimension, out);
}

}  // namespace

bool is_point_like(int type) {
  return type == el::cell_header || type == el::text_node || type == el::ellipse ||
         type == el::text;
}

PointsResult read_element_points(std::span<const std::uint8_t> element, int dimension,
                                 bool curve_by_vertices, std::vector<Vertex>& out) {
  out.clear();
  const std::span<const std::uint8_t> e = element.first(record_bytes(element));
  if (e.size() < client::kMemoryBodyOffset) return PointsResult::malformed;
  const int type = client::element_type(client::get_word(e.data(), 0));
  bool read = false;
  switch (type) {
    case el::cell_header:
      read = origin_vertex(e, kCellOrigin2d, kCellOrigin3d, dimension, out);
      break;
    case el::text_node:
      read = origin_vertex(e, kTextNodeOrigin2d, kTextNodeOrigin3d, dimension, out);
      break;
    case el::text:
      read = origin_vertex(e, kTextOrigin2d, kTextOrigin3d, dimension, out);
      break;
    case el::ellipse: {
      const std::size_t at = dimension == 3 ? kEllipseOrigin3d : kEllipseOrigin2d;
      const std::size_t doubles = static_cast<std::size_t>(dimension);
      if (at + 8 * doubles > e.size()) return PointsResult::malformed;
      out.push_back({truncated(double_at(e, at)), truncated(double_at(e, at + 8)),
                     dimension == 3 ? truncated(double_at(e, at + 16)) : 0});
      read = true;
      break;
    }
    case el::line:
      read = integer_vertices(e, kLineStart, 2, dimension, out);
      break;
    case el::line_string:
    case el::shape:
    case el::curve: {
      if (type == el::curve && !curve_by_vertices) return PointsResult::other_kind;
      if (e.size() < kFirstVertex) return PointsResult::malformed;
      const std::size_t count = client::get_word(e.data(), kVertexCount);
      read = integer_vertices(e, kFirstVertex, count, dimension, out);
      if (read && type == el::curve) {
        if (out.size() <= 2 * kCurveControlPoints) return PointsResult::malformed;
        out.erase(out.end() - kCurveControlPoints, out.end());
        out.erase(out.begin(), out.begin() + kCurveControlPoints);
      }
      if (read && out.empty()) return PointsResult::malformed;
      break;
    }
    default:
      return PointsResult::other_kind;
  }
  return read ? PointsResult::ok : PointsResult::malformed;
}

}  // namespace vornel::extract
