#include "client/session/tcb_variable_table.h"

#include "client/connection/wire.h"
#include "client/session/radix50.h"

#include <cstring>
#include <string_view>

namespace vornel::session {

namespace {

constexpr std::size_t kHeadBytes = 4;
constexpr std::size_t kRecordBytes = 20;
constexpr std::uint16_t kElementSizes[16] = {0, 1, 2, 4, 8, 1, 118, 72, 8, 2, 2, 4, 1, 4, 8, 4};

}  // namespace

std::uint16_t element_size(std::uint32_t format_word) { return kElementSizes[format_word & 0xf]; }

bool decode_tcb_variables(std::span<const std::uint8_t> resource, std::vector<TcbVariableEntry>& table) {
  auto bytes = std::as_bytes(resource);
  if (resource.size() < kHeadBytes) return false;
  const std::size_t count = wire::load<std::uint16_t>(bytes, 2);
  if (count > (resource.size() - kHeadBytes) / kRecordBytes) return false;
  std::vector<TcbVariableEntry> out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeadBytes + kRecordBytes * i;
    const char* name = reinterpret_cast<const char*>(resource.data() + at);
    Radix50Name encoded = encode_radix50(std::string_view(name, strnlen(name, 7)));
    if (encoded.status != 0) return false;
    const auto format = wire::load<std::uint32_t>(bytes, at + 12);
    TcbVariableEntry entry;
    entry.name = encoded.words;
    entry.type = resource[at + 7];
    entry.offset = static_cast<std::uint16_t>(wire::load<std::uint32_t>(bytes, at + 8));
    entry.size = static_cast<std::uint16_t>(element_size(format) * ((format >> 4) & 0xfff));
    out.push_back(entry);
  }
  table = std::move(out);
  return true;
}

}  // namespace vornel::session
