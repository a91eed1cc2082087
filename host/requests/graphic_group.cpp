#include "client/connection/wire.h"
#include "host/editing/edit_status.h"
#include "host/requests/handlers.h"
#include "host/tcb_variables.h"

namespace vornel::host::requests {

// Graphic group (20): code 1 takes the TCB's next number (answered at 24)
// and advances it; code 2 answers it unchanged; code 3 sets it.
void graphic_group(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  auto tcb = session.tcb.bytes();
  const auto code = wire::load<std::int16_t>(request, 16);
  const auto number = wire::load<std::uint16_t>(request, 18);
  const auto next = wire::load<std::uint16_t>(tcb, tcb_offset::kGraphicGroup);
  auto answer = [&reply](std::uint16_t value) {
    reply.data().assign(2, std::byte{0});
    wire::store(std::span<std::byte>(reply.data()), 0, value);
  };
  switch (code) {
    case 1:
      if (next == 0 || next == 0xFFFF) {
        reply.set_status(editing::status_code::kInvalidGraphicGroupNumber);
        return;
      }
      answer(next);
      wire::store(tcb, tcb_offset::kGraphicGroup, static_cast<std::uint16_t>(next + 1));
      return;
    case 2:
      answer(next);
      return;
    case 3:
      if (number == 0 || number == 0xFFFF) {
        reply.set_status(editing::status_code::kInvalidGraphicGroupNumber);
        return;
      }
      wire::store(tcb, tcb_offset::kGraphicGroup, number);
      return;
    default:
      reply.set_status(editing::status_code::kInvalidGraphicGroupCode);
  }
}

}  // namespace vornel::host::requests
