#include "client/connection/request_record.h"
#include "client/connection/wire.h"
#include "client/database/database_layout.h"
#include "host/database/database_status.h"
#include "host/requests/handlers.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vornel::host::requests {

namespace {

using database::DatabaseServer;

constexpr std::size_t kReplyRoom = connection::kReplyBufferBytes - connection::kReplyDataOffset;

// The request's data: n bytes from offset 24, held within the record.
std::span<const std::byte> request_data(std::span<const std::byte> request) {
  if (request.size() <= dbwire::kDataOffset) return {};
  const auto n = wire::load<std::int32_t>(request, dbwire::kDataLengthOffset);
  const std::size_t available = request.size() - dbwire::kDataOffset;
  const std::size_t length = n <= 0 ? 0 : std::min(static_cast<std::size_t>(n), available);
  return request.subspan(dbwire::kDataOffset, length);
}

// The NUL-terminated text of the data (the whole data without a NUL).
std::string_view data_text(std::span<const std::byte> data) { return wire::load_text(data, 0, data.size()); }

void answer(Reply& reply, int status, std::vector<std::byte> result = {}) {
  reply.set_status(status);
  if (status != database::kDbOk) result.clear();
  reply.set_length_field(static_cast<std::int32_t>(result.size()));
  reply.data() = std::move(result);
}

std::vector<std::byte> linkage_reply(const database::EntityLinkage& linkage) {
  std::vector<std::byte> bytes(dbwire::kActiveReplyBytes);
  const auto words = dbwire::active_linkage(static_cast<std::uint16_t>(linkage.entity),
                                            static_cast<std::uint32_t>(linkage.mslink));
  std::memcpy(bytes.data(), words.data(), sizeof words);
  return bytes;
}

// The value and its NUL, cut to what db_getfld's caller holds.
std::vector<std::byte> field_reply(const std::string& value) {
  const std::size_t kept = std::min(value.size(), dbwire::kFieldValueBytes - 1);
  std::vector<std::byte> bytes(kept + 1);
  std::memcpy(bytes.data(), value.data(), kept);
  return bytes;
}

// The name count, then one name per slot of `width` bytes: at most `count`
// names, each cut to width - 1 characters, and never past the reply buffer.
std::vector<std::byte> names_reply(const std::vector<std::string>& names, int width, int count) {
  std::size_t slots = 0;
  if (width > 0 && count > 0) {
    const std::size_t fit = (kReplyRoom - 2) / static_cast<std::size_t>(width);
    slots = std::min({names.size(), static_cast<std::size_t>(count), fit});
  }
  const auto slot_width = static_cast<std::size_t>(std::max(width, 0));
  std::vector<std::byte> bytes(2 + slots * slot_width);
  wire::store(std::span<std::byte>(bytes), 0, static_cast<std::int16_t>(slots));
  for (std::size_t i = 0; i < slots; ++i)
    wire::store_text(std::span<std::byte>(bytes), 2 + i * slot_width, slot_width, names[i]);
  return bytes;
}

// Fixed-layout operations need their whole data.
bool holds(std::span<const std::byte> data, std::size_t bytes) { return data.size() >= bytes; }

}  // namespace

// Database operations: the server's status, and for some operations a
// result from offset 24 whose size is the reply's length field.
void database_request(HostSession& session, std::span<const std::byte> request, Reply& reply) {
  DatabaseServer& server = session.database;
  if (!server.client_attached(static_cast<pid_t>(wire::load<std::int32_t>(request, 8)))) {
    answer(reply, database::kDbNotAttached);
    return;
  }
  const std::span<const std::byte> data = request_data(request);
  // Offsets of the fixed layouts count from the record's start.
  auto field16 = [&](std::size_t offset) { return wire::load<std::int16_t>(data, offset - dbwire::kDataOffset); };

  switch (wire::load<std::int32_t>(request, dbwire::kOperationOffset)) {
    case dbwire::kExecute:
      return answer(reply, server.execute(data_text(data)));
    case dbwire::kConnect:
      return answer(reply, server.connect(data_text(data)));
    case dbwire::kMakeActive:
      return answer(reply, server.make_active(data_text(data)));
    case dbwire::kLinkageMode:
      return answer(reply, server.set_linkage_mode(data_text(data)));
    case dbwire::kAttachActive: {
      database::EntityLinkage linkage;
      const int status = server.attach_active(linkage);
      return answer(reply, status, status == database::kDbOk ? linkage_reply(linkage) : std::vector<std::byte>{});
    }
    case dbwire::kNullActive:
      if (!holds(data, dbwire::kNullData)) break;
      return answer(reply, server.null_active(field16(dbwire::kNullEntity)));
    case dbwire::kGetField: {
      if (!holds(data, dbwire::kGetFieldData)) break;
      std::string value;
      const int status = server.field(field16(dbwire::kGetFieldEntity),
                                      wire::load<std::int32_t>(data, dbwire::kGetFieldMslink - dbwire::kDataOffset),
                                      field16(dbwire::kGetFieldColumn), value);
      return answer(reply, status, field_reply(value));
    }
    case dbwire::kFieldNames: {
      if (!holds(data, dbwire::kNamesData)) break;
      std::vector<std::string> names;
      const int status = server.field_names(field16(dbwire::kNamesEntity), names);
      return answer(reply, status, names_reply(names, field16(dbwire::kNamesWidth), field16(dbwire::kNamesCount)));
    }
    default:
      break;
  }
  answer(reply, database::kDbUnknownOperation);
}

}  // namespace vornel::host::requests
