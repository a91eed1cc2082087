#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace vornel::host::requests {

// Texts (13, 38), text nodes (14) and texts of three-dimensional files (15).
// Text parameters: character width and height in UOR, font, character
// count, justification. The rotation comes as a 2 x 2 matrix (cos, -sin,
// sin, cos), or for 15 as a row-major 3 x 3 matrix in the same place.
void place_text(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const auto code = wire::load<std::int32_t>(request, 12);
  const bool node = code == operations::kPlaceTextNode;
  const bool extended = code == operations::kPlaceTextEx;
  const bool three_d = code == operations::kPlaceText3d;
  if (three_d && editor->dimension() != client::Dimension::three) {
    reply.set_status(918);
    return;
  }
  const std::size_t matrix_at = node ? 64 : 56;
  const std::size_t origin_at = node ? 136 : 128;
  const std::size_t characters_at = node ? 148 : extended ? 158 : 140;
  const std::int16_t count = wire::load<std::int16_t>(request, 46);
  if (count < 0 || static_cast<std::size_t>(count) > editing::kMaxTextCharacters) {
    reply.set_status(editing::status_code::kTextStringTooLong);
    return;
  }
  const std::size_t padded = static_cast<std::size_t>((count + (node ? 2 : 1)) & ~1);
  editing::Placement placement;
  int status = 0;
  if (characters_at + padded > request.size() ||
      !read_placement(session, request, {20, 16, 22, characters_at + padded}, placement, status)) {
    reply.set_status(status != 0 ? status : editing::status_code::kInvalidElement);
    return;
  }
  editing::TextGeometry text;
  text.width = wire::load<std::int32_t>(request, 36);
  text.height = wire::load<std::int32_t>(request, 40);
  text.font = wire::load<std::int16_t>(request, 44) & 0xFF;
  text.justification = wire::load<std::int16_t>(request, 48) & 0xFF;
  std::array<double, 9> matrix{};
  if (three_d) {
    for (std::size_t i = 0; i < 9; ++i) {
      matrix[i] = wire::load<double>(request, matrix_at + 8 * i);
      if (!std::isfinite(matrix[i]) || std::abs(matrix[i]) > 1.0 + 1e-9) {
        reply.set_status(editing::status_code::kInvalidElement);
        return;
      }
    }
  } else {
    const double cosine = wire::load<double>(request, matrix_at), sine = wire::load<double>(request, matrix_at + 16);
    text.rotation_degrees = std::atan2(sine, cosine) * 180 / std::numbers::pi;
    if (!std::isfinite(text.rotation_degrees)) text.rotation_degrees = 0;
  }
  text.origin = {wire::load<std::int32_t>(request, origin_at), wire::load<std::int32_t>(request, origin_at + 4),
                 wire::load<std::int32_t>(request, origin_at + 8)};
  text.characters = std::string_view(reinterpret_cast<const char*>(request.data() + characters_at), static_cast<std::size_t>(count));
  editing::BuildResult built =
      node      ? editing::build_text_node(placement, text, wire::load<std::int32_t>(request, 52),
                                           wire::load<std::uint16_t>(request, 56), editor->dimension())
      : three_d ? editing::build_text(placement, text, matrix)
                : editing::build_text(placement, text, editor->dimension());
  place_and_reply(session, *editor, std::move(built), request, extended ? &operations::kTextExTail : nullptr, reply);
}

}  // namespace vornel::host::requests
