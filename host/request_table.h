#pragma once
// The one table that maps request codes to their handlers. New requests add
// a handler file under requests/ and a line in request_table.cpp.

#include "host/host_session.h"

#include <cstdint>

namespace vornel::host {

// The handler of `code`, or nullptr for a request the host does not know.
RequestHandler find_handler(std::int32_t code);

}  // namespace vornel::host
