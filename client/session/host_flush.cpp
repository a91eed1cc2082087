// The direct reader asks the host to flush before it reads the design file
// itself, but only when a request since the last flush may have left design
// data with the host.
#include "client/connection/host_connection.h"
#include "client/connection/request_record.h"
#include "client/session/session_state.h"

namespace vornel::session {

bool flush_host_if_cached() {
  connection::ConnectionState& state = connection::connection_state();
  if (!state.open || !state.data_may_be_cached) return false;
  connection::RequestRecord request(connection::kFlushRequest, 8);
  request.put<std::int32_t>(16, 0);
  request.put<std::int32_t>(20, 2);
  (void)connection::send_crc(request, {}, false);
  // Sending set the flag again; nothing is pending after the flush itself.
  state.data_may_be_cached = false;
  return true;
}

}  // namespace vornel::session
