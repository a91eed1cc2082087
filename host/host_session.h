#pragma once
// What a request handler works on: the design file, the TCB, and the state of
// the serving loop that handlers may change (closing a client, ending).

#include "host/database/database_server.h"
#include "host/design_file.h"
#include "host/host_tcb.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vornel::host {

struct HostSession {
  DesignFile file;
  HostTcb tcb;
  // The database server of requests 93 and 176.
  database::DatabaseServer database;
  // Status of opening the file named on the command line; a connect request
  // is answered with it.
  int startup_status = 0;
  // Number of clients served now, counting the one whose request runs.
  int clients = 0;
  // Set by a handler: the requesting client leaves after this reply.
  bool client_leaves = false;
  // Set by a handler: the host ends after this reply.
  bool host_exits = false;
};

// A reply being built: status and data from offset 24.
class Reply {
 public:
  void set_status(std::int32_t status) { status_ = status; }
  std::int32_t status() const { return status_; }
  std::vector<std::byte>& data() { return data_; }
  const std::vector<std::byte>& data() const { return data_; }
  // Database replies carry the count of result bytes in the length field
  // in place of the record's payload length.
  void set_length_field(std::int32_t length) { length_field_ = length; }
  std::optional<std::int32_t> length_field() const { return length_field_; }

 private:
  std::int32_t status_ = 0;
  std::vector<std::byte> data_;
  std::optional<std::int32_t> length_field_;
};

using RequestHandler = void (*)(HostSession& session, std::span<const std::byte> request, Reply& reply);

}  // namespace vornel::host
