#pragma once
// Request handlers; each is defined in its own file beside this one.

#include "host/host_session.h"

namespace vornel::host::requests {

void connect(HostSession& session, std::span<const std::byte> request, Reply& reply);          // 63
void open_design(HostSession& session, std::span<const std::byte> request, Reply& reply);      // 1
void close_design(HostSession& session, std::span<const std::byte> request, Reply& reply);     // 2
void flush(HostSession& session, std::span<const std::byte> request, Reply& reply);            // 62
void config_variable(HostSession& session, std::span<const std::byte> request, Reply& reply);  // 134
void database_attach(HostSession& session, std::span<const std::byte> request, Reply& reply);  // 93
void database_request(HostSession& session, std::span<const std::byte> request, Reply& reply);  // 176

}  // namespace vornel::host::requests
