#include "client/connection/host_connection.h"
#include "client/session/session.h"

#include <algorithm>
#include <cstring>

namespace vornel {

int host_config_variable(const char* name, char* buffer, const std::int16_t* size, std::int16_t* status) {
  connection::RequestRecord request(connection::kConfigVariableRequest, 130);
  request.put_text(16, 128, name != nullptr ? name : "");
  const std::int16_t buffer_size = size != nullptr ? *size : 0;
  request.put<std::int16_t>(144, buffer_size);
  connection::ReplyBuffer reply{};
  int result = connection::send_crc(request, reply, false);
  if (buffer != nullptr && buffer_size > 0) {
    std::string_view value = result == 0 ? wire::load_text(reply, connection::kReplyDataOffset,
                                                           reply.size() - connection::kReplyDataOffset)
                                         : std::string_view{};
    std::size_t n = std::min<std::size_t>(value.size(), static_cast<std::size_t>(buffer_size) - 1);
    if (n > 0) std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
  }
  return setstat(status, result);
}

}  // namespace vornel
