// B-spline curves: poles, optional weights and knots in fixed areas of one
// request.

#include "client/operations/place_shared.h"
#include "client/operations/request_fields.h"

namespace vornel {

using namespace operations;

int bcdfpi(const std::int16_t* mode_pair, const std::int16_t* level, const Symbology* symbology,
           const std::int16_t* curve_type, const std::int16_t* order, const std::int16_t* flag_a,
           const std::int16_t* rational, const std::int16_t* flag_c, const std::int16_t* flag_d,
           const std::int16_t* pole_count, const std::int16_t* knot_count, const std::int32_t* poles,
           const double* weights, const double* knots, const std::int16_t* attributes, std::int16_t* status) {
  auto value = [](const std::int16_t* p) { return p != nullptr ? *p : std::int16_t{0}; };
  const std::int16_t type = value(curve_type), a = value(flag_a), r = value(rational), c = value(flag_c),
                     d = value(flag_d), n = value(pole_count), k = value(knot_count), o = value(order);
  auto flag = [](std::int16_t f) { return f == 0 || f == 1; };
  if (type < 0 || type > 7 || !flag(a) || !flag(r) || !flag(c) || !flag(d)) return set_status(status, 1019);
  if (a == 1 && (n < 1 || n > 100 || o > n || n > 101)) return set_status(status, 1014);
  // The request has room for 101 poles, weights and knots; more would overrun it.
  if (n < 1 || poles == nullptr) return set_status(status, 1014);
  if (n > static_cast<std::int16_t>(kMaxBsplinePoles) || k < 0 || k > static_cast<std::int16_t>(kMaxBsplinePoles))
    return set_status(status, 905);
  bool too_long = false;
  const auto words = attribute_words(attributes, too_long);
  if (too_long) return set_status(status, 921);
  auto request = placement_request(kPlaceBspline, 2872, kBsplineAttributes, words);
  request.put(16, mode_pair_value(mode_pair));
  request.put(20, level_value(level));
  put_symbology(request, 22, symbology_or_active(symbology));
  const std::int16_t fields[] = {type, o, a, r, c, d, n, k};
  for (std::size_t i = 0; i < 8; ++i) request.put(32 + 2 * i, fields[i]);
  const std::size_t stride = coordinates_per_point();
  for (std::size_t i = 0; i < static_cast<std::size_t>(n) * stride; ++i) request.put(kBsplinePoles + 4 * i, poles[i]);
  if (r > 0 && weights != nullptr)
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) request.put(kBsplineWeights + 8 * i, weights[i]);
  if (k > 0 && knots != nullptr)
    for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) request.put(kBsplineKnots + 8 * i, knots[i]);
  LineStyleGuard style(symbology != nullptr);
  return set_status(status, send(request));
}

}  // namespace vornel
