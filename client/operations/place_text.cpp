// Texts and text nodes. The angle becomes a 2 x 2 rotation matrix; the
// three-dimensional text takes a full 3 x 3 matrix in the same place (it
// fills the room up to the origin). The characters follow the fixed fields,
// padded to an even length.

#include "client/operations/place_shared.h"
#include "client/operations/request_fields.h"

#include <array>
#include <cmath>
#include <cstring>

namespace vornel {

using namespace operations;

namespace {

constexpr std::int16_t kMaxCharacters = 255;

struct TextLayout {
  std::int32_t code;
  std::size_t base;
  std::size_t parameters = 36;
  std::size_t node;        // 0: none
  std::size_t matrix;
  std::size_t origin;
  std::size_t characters;
  int pad_extra;           // padded length: (count + pad_extra) rounded down to even
  const ExtendedTail* tail;
  bool three_d = false;    // 3 x 3 matrix and a 3-D origin; three-dimensional files only
};

constexpr TextLayout kText{kPlaceText, 131, 36, 0, 56, 128, 140, 1, nullptr};
constexpr TextLayout kTextEx{kPlaceTextEx, 147, 36, 0, 56, 128, 158, 1, &kTextExTail};
constexpr TextLayout kTextNode{kPlaceTextNode, 138, 36, 52, 64, 136, 148, 2, nullptr};
constexpr TextLayout kText3d{kPlaceText3d, 131, 36, 0, 56, 128, 140, 1, nullptr, true};

constexpr std::array<double, 9> kIdentity{1, 0, 0, 0, 1, 0, 0, 0, 1};

// The rotation as the request carries it: 2 x 2 from the angle, or the 3 x 3
// matrix given (none given: no turn).
void put_rotation(connection::RequestRecord& request, const TextLayout& layout, const double* angle, const double* matrix) {
  if (layout.three_d) {
    for (std::size_t i = 0; i < 9; ++i) request.put(layout.matrix + 8 * i, matrix != nullptr ? matrix[i] : kIdentity[i]);
    return;
  }
  const double a = (angle != nullptr ? *angle : 0.0) / 57.29577951308232;
  const double rotation[4] = {std::cos(a), -std::sin(a), std::sin(a), std::cos(a)};
  for (std::size_t i = 0; i < 4; ++i) request.put(layout.matrix + 8 * i, rotation[i]);
}

int text_request(const TextLayout& layout, const std::int16_t* mode_pair, const double* angle,
                 const std::int16_t* level, const NodeParameters* node, const TextParameters* parameters,
                 const TextSymbology* symbology, const std::int32_t* origin, std::int16_t* status,
                 const char* characters, const std::int16_t* attributes, const ExtendedArguments* extended,
                 const double* matrix = nullptr) {
  if (layout.three_d && !three_dimensional()) return set_status(status, 918);
  if (!layout.three_d && three_dimensional()) return set_status(status, 917);
  const std::int16_t count = parameters != nullptr ? parameters->character_count : 0;
  // The request holds one element's text: a longer or negative count would
  // read past the caller's characters or overrun the record.
  if (count < 0 || count > kMaxCharacters) return set_status(status, 942);
  if (count > 0 && characters == nullptr) return set_status(status, 942);
  bool too_long = false;
  const auto words = attribute_words(attributes, too_long);
  if (too_long) return set_status(status, 921);
  const std::size_t padded = static_cast<std::size_t>((count + layout.pad_extra) & ~1);
  auto request = placement_request(layout.code, layout.base + padded, layout.characters + padded, words);
  request.put(16, mode_pair_value(mode_pair));
  request.put(20, level_value(level));
  put_text_symbology(request, 22, symbology);
  if (parameters != nullptr) {
    std::memcpy(request.bytes().data() + layout.parameters, parameters, kTextParameterBytes);
  }
  if (layout.node != 0 && node != nullptr) std::memcpy(request.bytes().data() + layout.node, node, sizeof(NodeParameters));
  put_rotation(request, layout, angle, matrix);
  const std::size_t origin_values = layout.three_d ? 3 : 2;
  for (std::size_t i = 0; i < 3; ++i)
    request.put(layout.origin + 4 * i, origin != nullptr && i < origin_values ? origin[i] : 0);
  if (count > 0) std::memcpy(request.bytes().data() + layout.characters, characters, static_cast<std::size_t>(count));
  if (layout.tail != nullptr) put_extended_tail(request, *layout.tail, *extended);
  connection::ReplyBuffer reply;
  const int result = send(request, reply);
  if (result == 0 && extended != nullptr) take_extended_reply(reply, *extended);
  return set_status(status, result);
}

}  // namespace

int txdfpi(const std::int16_t* mode_pair, const double* angle, const std::int16_t* level,
           const TextParameters* parameters, const TextSymbology* symbology, const std::int32_t* origin,
           std::int16_t* status, const char* characters, const std::int16_t* attributes) {
  return text_request(kText, mode_pair, angle, level, nullptr, parameters, symbology, origin, status, characters,
                      attributes, nullptr);
}

int txdfpi_ex(const std::int16_t* mode_pair, const double* angle, const std::int16_t* level,
              const TextParameters* parameters, const TextSymbology* symbology, const std::int32_t* origin,
              std::int16_t* status, const char* characters, const std::int16_t* attributes,
              const std::int16_t* option, std::int32_t* block, std::int16_t* byte, const std::int32_t* low,
              const std::int32_t* high, void* element, std::int32_t* size) {
  const ExtendedArguments extended{option, block, byte, low, high, element, size};
  return text_request(kTextEx, mode_pair, angle, level, nullptr, parameters, symbology, origin, status, characters,
                      attributes, &extended);
}

int tndfpi(const std::int16_t* mode_pair, const double* angle, const std::int16_t* level,
           const NodeParameters* node, const TextParameters* parameters, const TextSymbology* symbology,
           const std::int32_t* origin, std::int16_t* status, const char* characters,
           const std::int16_t* attributes) {
  return text_request(kTextNode, mode_pair, angle, level, node, parameters, symbology, origin, status, characters,
                      attributes, nullptr);
}

int txdfp3(const std::int16_t* mode_pair, const std::int16_t* level, const TextParameters* parameters,
           const TextSymbology* symbology, const std::int32_t* origin, std::int16_t* status, const char* characters,
           const std::int16_t* attributes, const double* matrix) {
  return text_request(kText3d, mode_pair, nullptr, level, nullptr, parameters, symbology, origin, status, characters,
                      attributes, nullptr, matrix);
}

}  // namespace vornel
