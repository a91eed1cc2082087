#pragma once
// What the library keeps between open and close beyond the connection: the
// TCB variable table.

#include "client/session/tcb_variable_table.h"

#include <vector>

namespace vornel::session {

struct SessionState {
  std::vector<TcbVariableEntry> tcb_variables;
};

SessionState& session_state();

// Sends the close request with `word`, waits for an ending host, and takes
// the connection down. Returns the close status (0 when the host ended).
int close_host_session(std::int16_t word);

// The direct reader's flush hook: sends the flush request when a request
// since the last one may have left design data with the host. True when it
// sent one.
bool flush_host_if_cached();

}  // namespace vornel::session
