#include "extractors/common/geometry_operations.h"

#include <algorithm>
#include <array>

#include "client/operations/operations.h"
#include "client/records/element_header.hpp"
#include "toolkit/complex/type12_to_verts.h"

namespace vornel::extract {
namespace {

constexpr std::size_t kMaxStrokedVertices = 1022;
constexpr double kFirstRetryTolerance = 2.5;
constexpr double kToleranceGrowth = 1.25;
constexpr double kLargestRetryTolerance = 1000000.0;
constexpr int kMaxRetries = 200;  // 1.25^200: far beyond any coordinate range
constexpr std::int32_t kStrokeBufferBytes = 11120;
constexpr std::size_t kMaxBsplineParts = 4;  // curve header, poles, knots, weights
constexpr std::size_t kExpandedChainIntegers = 25000;

using StrokeBuffer = std::array<std::int32_t, kStrokeBufferBytes / 4>;

void copy_vertices(const StrokeBuffer& buffer, std::int32_t count, int dimension,
                   std::vector<Vertex>& out) {
  out.clear();
  const auto stride = static_cast<std::size_t>(dimension);
  const std::size_t fits = buffer.size() / stride;
  const std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), fits);
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t* v = buffer.data() + i * stride;
    out.push_back({v[0], v[1], dimension == 3 ? v[2] : 0});
  }
}

// Element records are handed to the operations as 16-bit words.
const std::uint16_t* words_of(std::span<const std::uint8_t> element) {
  return reinterpret_cast<const std::uint16_t*>(element.data());
}

}  // namespace

int expand_complex_chain(std::span<const std::uint8_t> header, std::int32_t header_position,
                         int dimension, bool stroke_curves, const StrokeTolerances& tolerances,
                         std::vector<Vertex>& out) {
  // 25,000 integers: 12,500 two-dimensional or 8,333 three-dimensional vertices.
  std::vector<std::int32_t> buffer(kExpandedChainIntegers);
  std::int16_t count = 0;
  const std::span<const std::uint16_t> words(words_of(header), header.size() / 2);
  toolkit::type12toVerts(words, header_position, buffer, &count,
                         static_cast<std::int16_t>(dimension), stroke_curves ? 1 : 0,
                         tolerances.arc, tolerances.bspline, tolerances.curve, 0);
  // A chain cut at the end of the buffer keeps the vertices that fit.
  out.clear();
  const auto stride = static_cast<std::size_t>(dimension);
  const std::size_t n = std::min(static_cast<std::size_t>(std::max<std::int16_t>(count, 0)),
                                 buffer.size() / stride);
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t* v = buffer.data() + i * stride;
    out.push_back({v[0], v[1], dimension == 3 ? v[2] : 0});
  }
  return 0;
}

int stroke_arc_or_curve(std::span<const std::uint8_t> element, double tolerance, int dimension,
                        std::vector<Vertex>& out) {
  StrokeBuffer buffer{};
  std::int32_t size = kStrokeBufferBytes;
  std::int32_t count = 0;
  const int status = stroke_element(buffer.data(), &size, &count, words_of(element), &tolerance,
                                    nullptr);
  copy_vertices(buffer, count, dimension, out);
  return status;
}

int stroke_with_retries(const BsplineStroke& stroke, double tolerance, std::vector<Vertex>& out) {
  int status = stroke(tolerance, out);
  const auto needs_retry = [&] {
    return out.size() > kMaxStrokedVertices ||
           (out.empty() && tolerance < kLargestRetryTolerance);
  };
  // A tolerance that is not positive would never grow: the retries would
  // not end. The host's default (-1.0) and any other such value start at 2.5.
  if (needs_retry() && tolerance <= 0.0) tolerance = kFirstRetryTolerance;
  for (int tries = 0; needs_retry() && tries < kMaxRetries; ++tries) {
    tolerance *= kToleranceGrowth;
    status = stroke(tolerance, out);
  }
  return status;
}

int stroke_bspline_curve(std::span<const std::uint8_t> header,
                         std::span<const std::span<const std::uint8_t>> components,
                         double tolerance, int dimension, std::vector<Vertex>& out) {
  std::array<const std::uint16_t*, kMaxBsplineParts> parts{};
  std::size_t n = 0;
  parts[n++] = words_of(header);
  for (const auto& component : components) {
    if (n == parts.size()) break;
    parts[n++] = words_of(component);
  }
  const auto part_count = static_cast<std::int16_t>(n);
  // The size value is set once per curve; each stroke updates it and the
  // next one takes it as updated.
  std::int32_t size = kStrokeBufferBytes;
  return stroke_with_retries(
      [&](double t, std::vector<Vertex>& vertices) {
        StrokeBuffer buffer{};
        std::int32_t count = 0;
        const int status =
            stroke_bspline(buffer.data(), &size, &count, parts.data(), &part_count, &t, nullptr);
        copy_vertices(buffer, count, dimension, vertices);
        return status;
      },
      tolerance, out);
}

}  // namespace vornel::extract
