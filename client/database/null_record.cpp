#include "client/database/database.h"
#include "client/database/database_exchange.h"
#include "client/database/database_layout.h"
#include "client/session/session.h"

#include <array>

namespace vornel {

int db_nulrec(const std::int16_t* entity, std::int16_t* status) {
  std::array<std::byte, dbwire::kNullData> data{};
  wire::store(std::span<std::byte>(data), dbwire::kNullEntity - dbwire::kDataOffset, *entity);
  connection::ReplyBuffer reply;
  return setstat(status, database::database_request(dbwire::kNullActive, data, reply));
}

}  // namespace vornel
