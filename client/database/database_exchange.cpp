#include "client/database/database_exchange.h"

#include "client/connection/host_connection.h"
#include "client/connection/status_codes.h"
#include "client/database/database_layout.h"

#include <algorithm>

namespace vornel::database {

bool& server_attached() {
  static bool attached = false;
  return attached;
}

int exchange(connection::RequestRecord& request, connection::ReplyBuffer& reply) {
  if (!connection::connection_state().queue.attached()) return status::kCommunication;
  const int result = connection::send_crc(request, reply, false);
  // Transport errors mean the request never arrived or no reply came.
  return result < 0 ? status::kCommunication : result;
}

int database_request(std::int32_t operation, std::span<const std::byte> data, connection::ReplyBuffer& reply) {
  if (!server_attached()) return dbwire::kNoDatabaseServer;
  connection::RequestRecord request(dbwire::kDatabaseRequest, data.size() + dbwire::kPayloadExtra);
  request.put<std::int32_t>(dbwire::kOperationOffset, operation);
  request.put<std::int32_t>(dbwire::kDataLengthOffset, static_cast<std::int32_t>(data.size()));
  std::copy(data.begin(), data.end(), request.bytes().begin() + dbwire::kDataOffset);
  return exchange(request, reply);
}

std::span<const std::byte> result_bytes(const connection::ReplyBuffer& reply) {
  const auto length = wire::load<std::int32_t>(reply, 4);
  const std::size_t room = reply.size() - connection::kReplyDataOffset;
  const std::size_t count = length <= 0 ? 0 : std::min(static_cast<std::size_t>(length), room);
  return std::span<const std::byte>(reply).subspan(connection::kReplyDataOffset, count);
}

}  // namespace vornel::database
