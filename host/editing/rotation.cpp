#include "host/editing/rotation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vornel::host::editing {

std::int32_t angle_units(double degrees) {
  if (!std::isfinite(degrees)) return 0;
  // Whole turns carry no meaning in a stored rotation; keep it in range.
  double turned = std::fmod(degrees, 360.0);
  return static_cast<std::int32_t>(std::llround(turned * kAngleUnitsPerDegree));
}

double angle_degrees(std::int32_t units) { return static_cast<double>(units) / kAngleUnitsPerDegree; }

std::array<std::int32_t, 4> matrix_to_quaternion(const std::array<double, 9>& m) {
  // Shepperd's method: start from the largest diagonal term for accuracy.
  const double trace = m[0] + m[4] + m[8];
  double w, x, y, z;
  if (trace > 0) {
    const double s = std::sqrt(trace + 1.0) * 2;
    w = 0.25 * s;
    x = (m[7] - m[5]) / s;
    y = (m[2] - m[6]) / s;
    z = (m[3] - m[1]) / s;
  } else if (m[0] > m[4] && m[0] > m[8]) {
    const double s = std::sqrt(1.0 + m[0] - m[4] - m[8]) * 2;
    w = (m[7] - m[5]) / s;
    x = 0.25 * s;
    y = (m[1] + m[3]) / s;
    z = (m[2] + m[6]) / s;
  } else if (m[4] > m[8]) {
    const double s = std::sqrt(1.0 + m[4] - m[0] - m[8]) * 2;
    w = (m[2] - m[6]) / s;
    x = (m[1] + m[3]) / s;
    y = 0.25 * s;
    z = (m[5] + m[7]) / s;
  } else {
    const double s = std::sqrt(1.0 + m[8] - m[0] - m[4]) * 2;
    w = (m[3] - m[1]) / s;
    x = (m[2] + m[6]) / s;
    y = (m[5] + m[7]) / s;
    z = 0.25 * s;
  }
  const double norm = std::sqrt(w * w + x * x + y * y + z * z);
  std::array<std::int32_t, 4> q{};
  const double parts[4] = {w, x, y, z};
  for (int i = 0; i < 4; ++i) {
    const double v = std::isfinite(norm) && norm > 0 ? parts[i] / norm : (i == 0 ? 1.0 : 0.0);
    q[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(std::llround(std::clamp(v, -1.0, 1.0) * kUnitFraction));
  }
  return q;
}

std::array<double, 9> quaternion_to_matrix(const std::array<std::int32_t, 4>& q) {
  double w = q[0] / kUnitFraction, x = q[1] / kUnitFraction, y = q[2] / kUnitFraction, z = q[3] / kUnitFraction;
  const double norm = std::sqrt(w * w + x * x + y * y + z * z);
  if (norm > 0) {
    w /= norm;
    x /= norm;
    y /= norm;
    z /= norm;
  } else {
    w = 1;
  }
  return {1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (x * z + y * w),
          2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),
          2 * (x * z - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y)};
}

std::array<double, 9> z_rotation(double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  const double c = std::cos(a), s = std::sin(a);
  return {c, -s, 0, s, c, 0, 0, 0, 1};
}

}  // namespace vornel::host::editing
