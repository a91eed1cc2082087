#include "client/session/resource_file.h"

#include "client/connection/wire.h"

#include <fstream>
#include <iterator>

namespace vornel::session {

namespace {

constexpr char kMagic[4] = {'V', 'R', 'S', 'C'};
constexpr std::size_t kHead = 8;
constexpr std::size_t kEntry = 16;
// dgnhost.rsc is small; a larger file is not one of ours.
constexpr std::size_t kMaxFileBytes = 16u << 20;

std::span<std::byte> as_bytes(std::vector<std::uint8_t>& v) { return std::as_writable_bytes(std::span(v)); }

}  // namespace

std::vector<std::uint8_t> encode_resource_file(std::span<const Resource> resources) {
  std::size_t offset = kHead + kEntry * resources.size();
  std::size_t total = offset;
  for (const Resource& r : resources) total += r.data.size();
  std::vector<std::uint8_t> out(total, 0);
  std::copy(std::begin(kMagic), std::end(kMagic), out.begin());
  wire::store(as_bytes(out), 4, static_cast<std::uint32_t>(resources.size()));
  for (std::size_t i = 0; i < resources.size(); ++i) {
    const std::size_t entry = kHead + kEntry * i;
    wire::store(as_bytes(out), entry, resources[i].type);
    wire::store(as_bytes(out), entry + 4, resources[i].id);
    wire::store(as_bytes(out), entry + 8, static_cast<std::uint32_t>(offset));
    wire::store(as_bytes(out), entry + 12, static_cast<std::uint32_t>(resources[i].data.size()));
    std::copy(resources[i].data.begin(), resources[i].data.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
    offset += resources[i].data.size();
  }
  return out;
}

bool write_resource_file(const std::string& path, std::span<const Resource> resources) {
  std::vector<std::uint8_t> bytes = encode_resource_file(resources);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool find_resource(std::span<const std::uint8_t> file, std::uint32_t type, std::uint32_t id,
                   std::vector<std::uint8_t>& data) {
  auto bytes = std::as_bytes(file);
  if (file.size() < kHead || !std::equal(std::begin(kMagic), std::end(kMagic), file.begin())) return false;
  const auto count = wire::load<std::uint32_t>(bytes, 4);
  if (count > (file.size() - kHead) / kEntry) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = kHead + kEntry * i;
    if (wire::load<std::uint32_t>(bytes, entry) != type || wire::load<std::uint32_t>(bytes, entry + 4) != id)
      continue;
    const std::size_t offset = wire::load<std::uint32_t>(bytes, entry + 8);
    const std::size_t length = wire::load<std::uint32_t>(bytes, entry + 12);
    if (offset > file.size() || length > file.size() - offset) return false;
    data.assign(file.begin() + static_cast<std::ptrdiff_t>(offset),
                file.begin() + static_cast<std::ptrdiff_t>(offset + length));
    return true;
  }
  return false;
}

bool read_resource(const std::string& path, std::uint32_t type, std::uint32_t id,
                   std::vector<std::uint8_t>& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::vector<std::uint8_t> file;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    file.insert(file.end(), chunk, chunk + in.gcount());
    if (file.size() > kMaxFileBytes) return false;
  }
  return find_resource(file, type, id, data);
}

}  // namespace vornel::session
