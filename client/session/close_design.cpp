#include "client/connection/host_connection.h"
#include "client/connection/status_codes.h"
#include "client/session/session.h"
#include "client/session/session_state.h"

namespace vornel {

namespace session {

int close_host_session(std::int16_t word) {
  connection::ConnectionState& state = connection::connection_state();
  connection::RequestRecord request(connection::kCloseRequest, 2);
  request.put<std::int16_t>(16, word);
  int result = connection::send_crc(request, {}, false);
  if (result == status::kHostExiting || result == status::kCommunication) {
    connection::wait_for_host_end();
    result = 0;
  } else {
    state.host.reset();  // the host serves others and goes on
  }
  connection::close_connection();
  session_state().tcb_variables.clear();
  state.open = false;
  state.data_may_be_cached = false;
  return result;
}

}  // namespace session

int dedfpi(const std::int16_t* word) {
  if (!connection::connection_state().open) return 0;
  return session::close_host_session(word != nullptr ? *word : 0);
}

}  // namespace vornel
