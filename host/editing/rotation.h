#pragma once
// Rotation encodings of version-7 elements: 2-D angles in 1/360,000 degree,
// 3-D rotations as quaternions (w, x, y, z) in fractions of 2^31 - 1.

#include <array>
#include <cstdint>

namespace vornel::host::editing {

inline constexpr double kAngleUnitsPerDegree = 360000.0;
inline constexpr double kUnitFraction = 2147483647.0;

// Degrees -> stored angle, and back.
std::int32_t angle_units(double degrees);
double angle_degrees(std::int32_t units);

// Row-major 3 x 3 rotation matrix <-> stored quaternion.
std::array<std::int32_t, 4> matrix_to_quaternion(const std::array<double, 9>& matrix);
std::array<double, 9> quaternion_to_matrix(const std::array<std::int32_t, 4>& quaternion);

// Rotation about z by `degrees` as a row-major matrix.
std::array<double, 9> z_rotation(double degrees);

}  // namespace vornel::host::editing
