// Limits and figures both extractors share.
#pragma once

#include <cstdint>

namespace vornel::extract {

inline constexpr double kVersion = 5.6;
// Point records written from one input file at most.
inline constexpr std::int64_t kMaxRecordsPerFile = 1250000;
// Records between two progress lines.
inline constexpr std::int64_t kProgressInterval = 10000;
// Words of one element record buffer.
inline constexpr std::int32_t kElementWords = 780;
// B-spline components read ahead after their header.
inline constexpr int kBsplineLookAhead = 3;

}  // namespace vornel::extract
