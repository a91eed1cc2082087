#include "host/requests/handlers.h"

namespace vornel::host::requests {

// Flush, for readers that open the design file directly. Every change is a
// store into the file's shared mapping before its request is answered, so
// nothing is pending and a direct reader already sees it all; syncing to the
// disk here would only make every extractor run wait for it. Closing makes
// the file durable.
void flush(HostSession&, std::span<const std::byte>, Reply& reply) { reply.set_status(0); }

}  // namespace vornel::host::requests
