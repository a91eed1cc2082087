#include "client/database/database.h"
#include "client/database/database_exchange.h"
#include "client/session/session.h"

#include <algorithm>
#include <cstring>

namespace vornel {

int db_std_request(char* buffer, const std::int32_t* operation, std::int32_t* length, std::int16_t* status) {
  const std::size_t sent = *length > 0 ? static_cast<std::size_t>(*length) : 0;
  connection::ReplyBuffer reply;
  const int result =
      database::database_request(*operation, std::as_bytes(std::span<const char>(buffer, sent)), reply);
  if (result == 0) {
    std::span<const std::byte> answer = database::result_bytes(reply);
    std::memcpy(buffer, answer.data(), answer.size());
    *length = static_cast<std::int32_t>(answer.size());
  }
  return setstat(status, result);
}

}  // namespace vornel
