#include "extractors/common/geometry_operations.h"

#include "client/records/element_header.hpp"

namespace vornel::extract {
namespace {

constexpr std::size_t kMaxStrokedVertices = 1022;
constexpr double kFirstRetryTolerance = 2.5;
constexpr double kToleranceGrowth = 1.25;
constexpr double kLargestRetryTolerance = 1000000.0;
constexpr int kMaxRetries = 200;  // 1.25^200: far beyond any coordinate range

}  // namespace

int expand_complex_chain(std::span<const std::uint8_t>, std::int32_t, int, bool,
                         const StrokeTolerances&, std::vector<Vertex>& out) {
  out.clear();
  return kOperationUnavailable;
}

int stroke_arc_or_curve(std::span<const std::uint8_t>, double, int, std::vector<Vertex>& out) {
  out.clear();
  return kOperationUnavailable;
}

int stroke_with_retries(const BsplineStroke& stroke, double tolerance, std::vector<Vertex>& out) {
  int status = stroke(tolerance, out);
  if (status == kOperationUnavailable) return status;
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
    if (status == kOperationUnavailable) return status;
  }
  return status;
}

int stroke_bspline_curve(std::span<const std::uint8_t>, std::span<const std::span<const std::uint8_t>>,
                         double tolerance, int, std::vector<Vertex>& out) {
  return stroke_with_retries(
      [](double, std::vector<Vertex>& vertices) {
        vertices.clear();
        return kOperationUnavailable;
      },
      tolerance, out);
}

const char* operation_name(int type) {
  switch (type) {
    case client::element::complex_chain: return "complex chain expansion";
    case client::element::arc: return "arc stroking";
    case client::element::curve: return "curve stroking";
    case client::element::bspline_curve: return "B-spline stroking";
    default: return "element conversion";
  }
}

}  // namespace vornel::extract
