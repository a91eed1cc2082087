#include "host/requests/placement_fields.h"

#include "client/connection/wire.h"
#include "host/editing/edit_status.h"
#include "host/tcb_variables.h"

#include <algorithm>

namespace vornel::host::requests {

using editing::status_code::kInvalidElement;

editing::DesignEditor* editor_of(HostSession& session, Reply& reply) {
  if (!session.file.is_open() || !session.file.editor_ready()) {
    reply.set_status(editing::status_code::kNoDesignFileOpen);
    return nullptr;
  }
  return &session.file.editor();
}

bool read_placement(HostSession& session, std::span<const std::byte> request, const PlacementFields& f,
                    editing::Placement& placement, int& status) {
  // Bits above the level are the callers' flags, not part of the level.
  placement.level = wire::load<std::uint16_t>(request, f.level) & 0x3F;
  placement.graphic_group = wire::load<std::uint16_t>(request, f.mode_pair + 2);
  placement.element_class = static_cast<std::uint16_t>(wire::load<std::int32_t>(request, f.symbology) & 0x0F);
  placement.style = wire::load<std::uint16_t>(request, f.symbology + 4) & 0x7;
  placement.weight = wire::load<std::uint16_t>(request, f.symbology + 6) & 0x1F;
  placement.color = wire::load<std::uint16_t>(request, f.symbology + 8) & 0xFF;
  placement.linkages.clear();
  if (f.attributes + 2 <= request.size()) {
    const auto words = wire::load<std::uint16_t>(request, f.attributes);
    if (f.attributes + 2 + 2 * std::size_t{words} > request.size()) {
      status = kInvalidElement;
      return false;
    }
    for (std::size_t i = 0; i < words; ++i)
      placement.linkages.push_back(wire::load<std::uint16_t>(request, f.attributes + 2 + 2 * i));
  }
  // The TCB's next graphic group number stays above every number in use.
  if (placement.graphic_group != 0) {
    auto tcb = session.tcb.bytes();
    const auto next = wire::load<std::uint16_t>(tcb, tcb_offset::kGraphicGroup);
    if (placement.graphic_group >= next && placement.graphic_group < 0xFFFF)
      wire::store(tcb, tcb_offset::kGraphicGroup, static_cast<std::uint16_t>(placement.graphic_group + 1));
  }
  return true;
}

void place_and_reply(HostSession&, editing::DesignEditor& editor, editing::BuildResult built,
                     std::span<const std::byte> request, const operations::ExtendedTail* tail, Reply& reply) {
  std::uint32_t position = 0;
  std::vector<std::uint8_t> memory;
  int status = 0;
  const bool want_memory = tail != nullptr && wire::load<std::int16_t>(request, tail->return_flag) == 1;
  const operations::PositionWords at{tail != nullptr ? wire::load<std::uint16_t>(request, tail->block) : operations::kNoPositionWord,
                                     tail != nullptr ? wire::load<std::uint16_t>(request, tail->byte) : operations::kNoPositionWord};
  if (tail != nullptr && operations::position_given(at))
    status = editor.place_at(std::move(built), operations::position_of(at), position, want_memory ? &memory : nullptr);
  else
    status = editor.place(std::move(built), position, want_memory ? &memory : nullptr);
  reply.set_status(status);
  if (status != 0 || tail == nullptr) return;

  const operations::PositionWords where = operations::position_words(position);
  std::size_t room = 0;
  if (want_memory) {
    const std::int32_t size = tail->size_is_word ? wire::load<std::int16_t>(request, tail->size)
                                                 : wire::load<std::int32_t>(request, tail->size);
    room = std::min(memory.size(), static_cast<std::size_t>(std::max(size, 0)));
  }
  auto& data = reply.data();
  data.assign(operations::kReplyElement - 24 + room, std::byte{0});
  std::span<std::byte> out(data);
  wire::store(out, operations::kReplyBlock - 24, where.block);
  wire::store(out, operations::kReplyByte - 24, where.byte);
  wire::store(out, operations::kReplyElementBytes - 24, static_cast<std::int32_t>(room));
  std::copy_n(reinterpret_cast<const std::byte*>(memory.data()), room, data.begin() + (operations::kReplyElement - 24));
}

bool read_points(std::span<const std::byte> request, std::size_t offset, std::size_t count,
                 client::Dimension dimension, std::vector<editing::Point>& points) {
  const std::size_t stride = dimension == client::Dimension::three ? 12 : 8;
  if (offset + count * stride > request.size()) return false;
  points.clear();
  for (std::size_t i = 0; i < count; ++i, offset += stride) {
    editing::Point p{wire::load<std::int32_t>(request, offset), wire::load<std::int32_t>(request, offset + 4), 0};
    if (stride == 12) p.z = wire::load<std::int32_t>(request, offset + 8);
    points.push_back(p);
  }
  return true;
}

}  // namespace vornel::host::requests
