#pragma once
// Request codes and the fields of the design-file service requests, shared
// by the client operations that build them and the host that reads them.
// Offsets are byte offsets in the request record (the payload begins at 16)
// or, for replies, in the reply record (data begins at 24).

#include <cstddef>
#include <cstdint>

namespace vornel::operations {

enum RequestCode : std::int32_t {
  kOpenComplex = 3,
  kCloseComplex = 4,
  kPlaceLine = 5,
  kPlaceLineString = 6,
  kPlaceCurve = 7,
  kPlaceShape = 8,
  kPlaceEllipse = 11,
  kPlaceEllipse3d = 12,
  kPlaceText = 13,
  kPlaceTextNode = 14,
  kPlaceText3d = 15,
  kReadElement = 18,
  kGraphicGroup = 20,
  kTextInquiry = 25,
  kDeleteElement = 26,
  kPlaceLineEx = 30,
  kPlaceLineStringEx = 31,
  kPlaceCurveEx = 32,
  kPlaceShapeEx = 33,
  kPlaceTextEx = 38,
  kStrokeElement = 78,
  kReadElementAt = 125,
  kWriteElementAt = 126,
  kPlaceBspline = 141,
  kStrokeBspline = 150,
};

// A block and byte that were not given.
inline constexpr std::uint16_t kNoPositionWord = 0xFFFF;

// Positions travel as a 16-bit block and a 16-bit byte word. A byte within
// its block needs 9 bits; the byte word's upper 7 bits carry block bits 16-22,
// so files past 32 MiB stay addressable. Requests of positions below that
// look exactly as with plain 16-bit words.
struct PositionWords {
  std::uint16_t block = kNoPositionWord;
  std::uint16_t byte = kNoPositionWord;
};
constexpr PositionWords position_words(std::uint32_t position) {
  const std::uint32_t block = position / 512;
  return {static_cast<std::uint16_t>(block & 0xFFFF),
          static_cast<std::uint16_t>((position % 512) | ((block >> 16) << 9))};
}
constexpr bool position_given(PositionWords w) { return !(w.block == kNoPositionWord && w.byte == kNoPositionWord); }
constexpr std::uint32_t position_of(PositionWords w) {
  const std::uint32_t block = w.block | (static_cast<std::uint32_t>(w.byte >> 9) << 16);
  return block * 512 + (w.byte & 0x1FF);
}
constexpr std::int32_t block_of(PositionWords w) {
  return static_cast<std::int32_t>(w.block | (static_cast<std::uint32_t>(w.byte >> 9) << 16));
}

// Fields of the extended placement tail (the _ex requests), by request.
struct ExtendedTail {
  std::size_t low, high, option, block, byte, return_flag, size;
  bool size_is_word;  // the text request carries a 16-bit size
};
inline constexpr ExtendedTail kLineExTail{32, 36, 40, 42, 44, 46, 48, false};
inline constexpr ExtendedTail kLineStringExTail{36, 40, 44, 46, 48, 50, 52, false};
inline constexpr ExtendedTail kTextExTail{140, 144, 148, 150, 152, 154, 156, true};

// Replies of the extended placements.
inline constexpr std::size_t kReplyBlock = 24;
inline constexpr std::size_t kReplyByte = 26;
inline constexpr std::size_t kReplyElementBytes = 28;
inline constexpr std::size_t kReplyElement = 32;

// The symbology record of the requests: 32-bit class, style, weight, color.
inline constexpr std::size_t kSymbologyBytes = 10;
inline constexpr std::size_t kTextSymbologyBytes = 14;
inline constexpr std::size_t kTextParameterBytes = 16;

// B-spline placement.
inline constexpr std::size_t kBsplinePoles = 48;
inline constexpr std::size_t kBsplineWeights = 1264;
inline constexpr std::size_t kBsplineKnots = 2072;
inline constexpr std::size_t kBsplineAttributes = 2880;
inline constexpr std::size_t kMaxBsplinePoles = 101;

// Stroking.
inline constexpr std::uint32_t kMaxStrokeBytes = 8192;
inline constexpr std::size_t kStrokeVertices = 36;

// Text inquiry reply.
inline constexpr std::size_t kInquirySize = 24;
inline constexpr std::size_t kInquiryRotation = 32;
inline constexpr std::size_t kInquiryWord = 104;
inline constexpr std::size_t kInquiryParameters = 108;
inline constexpr std::size_t kInquiryCharacterCount = 118;
inline constexpr std::size_t kInquirySymbology = 124;
inline constexpr std::size_t kInquiryOrigin = 140;
inline constexpr std::size_t kInquiryCharacters = 152;

}  // namespace vornel::operations
