#include "client/connection/host_connection.h"
#include "client/database/database.h"
#include "client/database/database_exchange.h"
#include "client/database/database_layout.h"
#include "client/session/session.h"

#include <unistd.h>

namespace vornel {

int db_server_attach(std::int16_t* status) {
  connection::RequestRecord request(dbwire::kServerAttachRequest, dbwire::kAttachPayload);
  const auto pid = static_cast<std::int32_t>(getpid());
  request.put<std::int32_t>(dbwire::kAttachKeyOffset, 0);
  request.put<std::int32_t>(dbwire::kAttachGroupOffset, pid);  // the process group is this process
  request.put<std::int32_t>(dbwire::kAttachPidOffset, pid);
  connection::ReplyBuffer reply;
  const int result = database::exchange(request, reply);
  if (result == 0) database::server_attached() = true;
  return setstat(status, result);
}

int db_server_detach(std::int16_t* status) {
  if (!database::server_attached()) return setstat(status, dbwire::kNoDatabaseServer);
  connection::RequestRecord request(dbwire::kServerAttachRequest, dbwire::kAttachPayload);
  request.put<std::int32_t>(dbwire::kAttachKeyOffset, static_cast<std::int32_t>(connection::connection_state().queue.key()));
  request.put<std::int32_t>(dbwire::kAttachGroupOffset, 0);
  request.put<std::int32_t>(dbwire::kAttachPidOffset, 0);
  connection::ReplyBuffer reply;
  const int result = database::exchange(request, reply);
  if (result == 0) database::server_attached() = false;
  return setstat(status, result);
}

}  // namespace vornel
