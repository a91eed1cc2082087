#pragma once
// Status codes of the table that element editing reports.

namespace vornel::host::editing::status_code {

inline constexpr int kInvalidGraphicGroupNumber = 901;
inline constexpr int kInvalidGraphicGroupCode = 902;
inline constexpr int kTooFewVertices = 904;
inline constexpr int kTooManyVertices = 905;
inline constexpr int kEcmplxBeforeBcmplx = 906;
inline constexpr int kEcmplxIllegalCode = 908;
inline constexpr int kFileRead = 911;
inline constexpr int kFileWrite = 912;
inline constexpr int kMaximumAttrLinkage = 921;
inline constexpr int kElementOffPlane = 933;
inline constexpr int kInvalidElement = 934;
inline constexpr int kTextStringTooLong = 942;
inline constexpr int kInvalidComplexComponent = 944;
inline constexpr int kNoDesignFileOpen = 953;
inline constexpr int kDiskFull = 960;
inline constexpr int kBufferTooLarge = 972;
inline constexpr int kDeleteComplexElement = 976;
inline constexpr int kAtEndOfFile = 1011;
inline constexpr int kCantWriteAtPosition = 1013;
inline constexpr int kPolesBelowOrder = 1014;

}  // namespace vornel::host::editing::status_code
