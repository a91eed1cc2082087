#include "client/database/database.h"
#include "client/database/database_exchange.h"
#include "client/database/database_layout.h"
#include "client/session/session.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vornel {

int db_getfld(const std::int16_t* entity, const std::int32_t* mslink, const std::int16_t* column, char* text,
              std::int16_t* status) {
  std::array<std::byte, dbwire::kGetFieldData> data{};
  std::span<std::byte> fields(data);
  wire::store(fields, dbwire::kGetFieldEntity - dbwire::kDataOffset, *entity);
  wire::store(fields, dbwire::kGetFieldMslink - dbwire::kDataOffset, *mslink);
  wire::store(fields, dbwire::kGetFieldColumn - dbwire::kDataOffset, *column);
  connection::ReplyBuffer reply;
  const int result = database::database_request(dbwire::kGetField, data, reply);
  if (result == 0) {
    // The value as far as its NUL, never past the caller's 256 bytes.
    const std::string_view value =
        wire::load_text(reply, connection::kReplyDataOffset, dbwire::kFieldValueBytes - 1);
    std::memcpy(text, value.data(), value.size());
    text[value.size()] = '\0';
  }
  return setstat(status, result);
}

}  // namespace vornel
