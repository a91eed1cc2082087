#include "client/connection/host_connection.h"
#include "client/connection/status_codes.h"
#include "client/session/radix50.h"
#include "client/session/session.h"
#include "client/session/session_state.h"

#include <algorithm>
#include <cstring>

namespace vornel {

int rdtcbasc(const char* name, const std::int16_t* max_words, void* destination, std::int16_t* status) {
  session::Radix50Name encoded = session::encode_radix50(name != nullptr ? name : "");
  if (encoded.status != 0) return setstat(status, encoded.status);

  const auto& table = session::session_state().tcb_variables;
  auto entry = std::find_if(table.begin(), table.end(),
                            [&](const session::TcbVariableEntry& e) { return e.name == encoded.words; });
  if (entry == table.end() || entry->type != session::kReadableType) return setstat(status, status::kTcbMapping);

  std::size_t size = entry->size;
  if (max_words != nullptr && *max_words >= 0) size = std::min<std::size_t>(size, 2 * static_cast<std::size_t>(*max_words));
  std::span<std::byte> tcb = connection::tcb_bytes();
  // A table that points outside the TCB must not read past it.
  if (entry->offset + size > tcb.size()) return setstat(status, status::kTcbMapping);
  if (destination != nullptr) std::memcpy(destination, tcb.data() + entry->offset, size);
  return setstat(status, 0);
}

}  // namespace vornel
