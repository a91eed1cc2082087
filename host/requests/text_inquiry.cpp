#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "host/editing/edit_status.h"
#include "host/editing/rotation.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

#include <cmath>

namespace vornel::host::requests {

// Text inquiry (25) on a text element in memory form (from 16). The reply:
// 24 the character count and the enter-data field count (16-bit each);
// 32 the rotation in degrees (2-D) or the rotation matrix (3-D); 104 the
// level; 108 the text parameters (width and height in UOR, font, character
// count, justification); 124 the text symbology; 140 the origin; 152 the
// characters.
void text_inquiry(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  using namespace operations;
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const bool three_d = editor->dimension() == client::Dimension::three;
  const std::size_t size = request.size() > 16 ? request.size() - 16 : 0;
  const auto* text = reinterpret_cast<const std::uint8_t*>(request.data() + 16);
  const std::size_t count_at = three_d ? 80 : 64;
  if (size < count_at + 2 || client::element_type(client::get_word(text, 0)) != client::element::text) {
    reply.set_status(editing::status_code::kInvalidElement);
    return;
  }
  const std::size_t characters = text[count_at];
  if (count_at + 2 + characters > size) {
    reply.set_status(editing::status_code::kInvalidElement);
    return;
  }
  auto& data = reply.data();
  data.assign(kInquiryCharacters - 24 + characters + 1, std::byte{0});
  std::span<std::byte> out(data);
  auto put = [&out](std::size_t reply_offset, auto value) { wire::store(out, reply_offset - 24, value); };
  put(kInquirySize, static_cast<std::int16_t>(characters));
  put(kInquirySize + 2, static_cast<std::int16_t>(text[count_at + 1]));
  auto from_multiplier = [&](std::size_t at) {
    return static_cast<std::int32_t>(std::llround(static_cast<std::int32_t>(client::get_long(text, at)) * 6.0 / 1000.0));
  };
  if (three_d) {
    std::array<std::int32_t, 4> q{};
    for (std::size_t i = 0; i < 4; ++i) q[i] = static_cast<std::int32_t>(client::get_long(text, 52 + 4 * i));
    const auto m = editing::quaternion_to_matrix(q);
    for (std::size_t i = 0; i < 9; ++i) put(kInquiryRotation + 8 * i, m[i]);
  } else {
    put(kInquiryRotation, editing::angle_degrees(static_cast<std::int32_t>(client::get_long(text, 52))));
  }
  put(kInquiryWord, static_cast<std::int16_t>(client::element_level(client::get_word(text, 0))));
  put(kInquiryParameters, from_multiplier(44));
  put(kInquiryParameters + 4, from_multiplier(48));
  put(kInquiryParameters + 8, static_cast<std::int16_t>(text[40]));
  put(kInquiryParameters + 10, static_cast<std::int16_t>(characters));
  put(kInquiryParameters + 12, static_cast<std::int16_t>(text[41]));
  const std::uint16_t symbology = client::get_word(text, client::kMemorySymbologyOffset);
  put(kInquirySymbology, static_cast<std::int32_t>(client::get_word(text, client::kPropertiesOffset) & 0x0F));
  put(kInquirySymbology + 4, static_cast<std::int16_t>(symbology & 0x7));
  put(kInquirySymbology + 6, static_cast<std::int16_t>((symbology >> 3) & 0x1F));
  put(kInquirySymbology + 8, static_cast<std::int16_t>(symbology >> 8));
  const std::size_t origin_at = three_d ? 68 : 56;
  for (std::size_t i = 0; i < (three_d ? 3u : 2u); ++i)
    put(kInquiryOrigin + 4 * i, static_cast<std::int32_t>(client::get_long(text, origin_at + 4 * i)));
  std::copy_n(request.data() + 16 + count_at + 2, characters, data.begin() + static_cast<long>(kInquiryCharacters - 24));
}

}  // namespace vornel::host::requests
