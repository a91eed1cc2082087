#pragma once
// Slot numbers of the driver's command line; the number is the option's place.
#include <cstddef>

namespace vornel::frontend::slot {

inline constexpr std::size_t kElementTypes = 3;
inline constexpr std::size_t kLevels = 4;
inline constexpr std::size_t kStyles = 5;
inline constexpr std::size_t kWeights = 6;
inline constexpr std::size_t kColors = 7;
inline constexpr std::size_t kClasses = 8;
inline constexpr std::size_t kStrokeArcs = 10;
inline constexpr std::size_t kStrokeBsplines = 11;
inline constexpr std::size_t kStrokeCurves = 12;
inline constexpr std::size_t kBsplineOutput = 13;
inline constexpr std::size_t kComplexOutput = 14;
inline constexpr std::size_t kCurveOutput = 15;
inline constexpr std::size_t kNoOutput = 17;
inline constexpr std::size_t kOutputSymbology = 19;
inline constexpr std::size_t kSaveOriginal = 20;
inline constexpr std::size_t kWeed = 25;
inline constexpr std::size_t kWeedIdentical = 27;
inline constexpr std::size_t kZeroLength = 28;
inline constexpr std::size_t kStripAttributes = 29;
inline constexpr std::size_t kRemoveDuplicateLinkages = 30;
inline constexpr std::size_t kDangles = 31;
inline constexpr std::size_t kRemoveShort = 32;
inline constexpr std::size_t kFlagShort = 33;
inline constexpr std::size_t kDatabase = 34;
inline constexpr std::size_t kGraphicGroups = 35;
inline constexpr std::size_t kNoJoin = 36;
inline constexpr std::size_t kAttributeLinkages = 37;
inline constexpr std::size_t kFeatureLinkages = 38;
inline constexpr std::size_t kAttributeValues = 39;
inline constexpr std::size_t kZRange = 40;
inline constexpr std::size_t kLabels = 42;
inline constexpr std::size_t kOutputLevel = 46;
inline constexpr std::size_t kFlagMultiLevel = 47;
inline constexpr std::size_t kOverrideMultiLevel = 48;
inline constexpr std::size_t kDiagnosticMode = 50;
inline constexpr std::size_t kVertexLimit = 53;
inline constexpr std::size_t kRandomColors = 54;

}  // namespace vornel::frontend::slot
