#pragma once
// One database request and its reply over the host connection, and the
// attached flag that every request but the attach needs.

#include "client/connection/request_record.h"

#include <cstdint>
#include <span>

namespace vornel::database {

// Set by a successful attach, cleared by a successful detach.
bool& server_attached();

// Sends `request` and waits for the reply. Returns the host's status, or
// 925 when the request could not be delivered or answered.
int exchange(connection::RequestRecord& request, connection::ReplyBuffer& reply);

// Sends operation `operation` of request 176 with `data`. Returns 994
// without sending when not attached.
int database_request(std::int32_t operation, std::span<const std::byte> data, connection::ReplyBuffer& reply);

// The reply's result bytes: its length field, held within the reply buffer.
std::span<const std::byte> result_bytes(const connection::ReplyBuffer& reply);

}  // namespace vornel::database
