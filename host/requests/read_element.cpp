#include "client/connection/wire.h"
#include "client/operations/request_codes.h"
#include "host/requests/handlers.h"
#include "host/requests/placement_fields.h"

namespace vornel::host::requests {

namespace {

void put_element(Reply& reply, std::size_t at, const std::vector<std::uint8_t>& element) {
  auto& data = reply.data();
  data.resize(at + element.size(), std::byte{0});
  std::copy_n(reinterpret_cast<const std::byte*>(element.data()), element.size(), data.begin() + static_cast<long>(at));
}

}  // namespace

// Read at block and byte (18): words 24, 26, 28 are the element's size in
// words plus two, its block and its byte word; the element follows at 32,
// in memory form, or as it lies in the file when the raw flag is set.
void read_element(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const operations::PositionWords where{wire::load<std::uint16_t>(request, 16), wire::load<std::uint16_t>(request, 18)};
  const bool raw = wire::load<std::int16_t>(request, 20) != 0;
  std::vector<std::uint8_t> element;
  if (int status = editor->read(operations::position_of(where), element, raw); status != 0) {
    reply.set_status(status);
    return;
  }
  put_element(reply, 8, element);
  std::span<std::byte> out(reply.data());
  wire::store(out, 0, static_cast<std::uint16_t>((element.size() + 4) / 2));
  wire::store(out, 2, where.block);
  wire::store(out, 4, where.byte);
}

// Read at a byte position (125): the memory form at 24.
void read_element_at(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  editing::DesignEditor* editor = editor_of(session, reply);
  if (editor == nullptr) return;
  const auto position = wire::load<std::int32_t>(request, 20);
  std::vector<std::uint8_t> element;
  const int status = position < 0 ? 1011 : editor->read(static_cast<std::uint32_t>(position), element);
  reply.set_status(status);
  if (status == 0) put_element(reply, 0, element);
}

}  // namespace vornel::host::requests
