// Ellipses: eldfpi in two-dimensional files (rotation in degrees), eldfp3 in
// three-dimensional ones (rotation matrix).

#include "client/operations/place_shared.h"
#include "client/operations/request_fields.h"

namespace vornel {

using namespace operations;

namespace {

int ellipse_request(std::int32_t code, const std::int16_t* mode_pair, const std::int16_t* level,
                    const Symbology* symbology, const double* axes, const double* centre, const double* rotation,
                    const double* matrix, std::int16_t* status, const std::int16_t* attributes) {
  bool too_long = false;
  const auto words = attribute_words(attributes, too_long);
  if (too_long) return set_status(status, 921);
  const bool three_d = code == kPlaceEllipse3d;
  auto request = placement_request(code, three_d ? 136 : 64, three_d ? 144 : 72, words);
  request.put(16, mode_pair_value(mode_pair));
  request.put(20, level_value(level));
  put_symbology(request, 22, symbology_or_active(symbology));
  request.put(32, axes != nullptr ? axes[0] : 0.0);
  request.put(40, axes != nullptr ? axes[1] : 0.0);
  for (std::size_t i = 0; i < (three_d ? 3u : 2u); ++i) request.put(48 + 8 * i, centre != nullptr ? centre[i] : 0.0);
  if (three_d) {
    for (std::size_t i = 0; i < 9; ++i) request.put(72 + 8 * i, matrix != nullptr ? matrix[i] : (i % 4 == 0 ? 1.0 : 0.0));
  } else {
    request.put(64, rotation != nullptr ? *rotation : 0.0);
  }
  LineStyleGuard style(symbology != nullptr);
  return set_status(status, send(request));
}

}  // namespace

int eldfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const double* axes, const double* centre, const double* rotation, std::int16_t* status,
           const std::int16_t* attributes) {
  if (three_dimensional()) return set_status(status, 917);
  return ellipse_request(kPlaceEllipse, mode_pair, level, symbology, axes, centre, rotation, nullptr, status, attributes);
}

int eldfp3(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const double* axes, const double* centre, std::int16_t* status, const std::int16_t* attributes,
           const double* matrix) {
  if (!three_dimensional()) return set_status(status, 918);
  return ellipse_request(kPlaceEllipse3d, mode_pair, level, symbology, axes, centre, nullptr, matrix, status, attributes);
}

}  // namespace vornel
