#include "client/connection/request_record.h"
#include "client/connection/wire.h"
#include "host/requests/handlers.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vornel::host::requests {

// Configuration variable: the value of the named variable in the host's
// environment, NUL-terminated; an unset variable reads as empty.
void config_variable(HostSession&, std::span<const std::byte> request, Reply& reply) {
  std::string name(wire::load_text(request, 16, 128));
  const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
  std::string_view text = value != nullptr ? value : "";
  // Never more than the caller can hold, nor more than a reply carries.
  const auto caller_size = static_cast<std::size_t>(std::max<std::int16_t>(1, wire::load<std::int16_t>(request, 144)));
  const std::size_t room = connection::kReplyBufferBytes - connection::kReplyDataOffset;
  text = text.substr(0, std::min({text.size(), caller_size - 1, room - 1}));
  reply.data().assign(text.size() + 1, std::byte{0});
  std::memcpy(reply.data().data(), text.data(), text.size());
}

}  // namespace vornel::host::requests
