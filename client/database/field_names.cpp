#include "client/database/database.h"
#include "client/database/database_exchange.h"
#include "client/database/database_layout.h"
#include "client/session/session.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vornel {

int db_fldname(const std::int16_t* entity, const std::int16_t* width, const std::int16_t* count, char* names,
               std::int16_t* status) {
  std::array<std::byte, dbwire::kNamesData> data{};
  std::span<std::byte> fields(data);
  wire::store(fields, dbwire::kNamesEntity - dbwire::kDataOffset, *entity);
  wire::store(fields, dbwire::kNamesWidth - dbwire::kDataOffset, *width);
  wire::store(fields, dbwire::kNamesCount - dbwire::kDataOffset, *count);
  connection::ReplyBuffer reply;
  const int result = database::database_request(dbwire::kFieldNames, data, reply);
  if (result != 0 || *width <= 0 || *count <= 0) return setstat(status, result);

  const auto slot_width = static_cast<std::size_t>(*width);
  const auto slots = static_cast<std::size_t>(*count);
  for (std::size_t i = 0; i < slots; ++i) names[i * slot_width] = '\0';
  // Name i at reply offset 26 + i * width; never more names than slots,
  // never a name longer than its slot.
  const auto answered = static_cast<std::size_t>(std::max<std::int16_t>(0, wire::load<std::int16_t>(reply, dbwire::kNamesReplyCount)));
  for (std::size_t i = 0; i < std::min(answered, slots); ++i) {
    const std::string_view name = wire::load_text(reply, dbwire::kNamesReplyFirst + i * slot_width, slot_width - 1);
    std::memcpy(names + i * slot_width, name.data(), name.size());
    names[i * slot_width + name.size()] = '\0';
  }
  return setstat(status, result);
}

}  // namespace vornel
