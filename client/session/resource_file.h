#pragma once
// Resource files: typed, numbered blobs in one file, as dgnhost.rsc carries
// the host's TCB variable table. Layout (little-endian): "VRSC", 32-bit count,
// then per resource 32-bit type, id, offset and length, then the data.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vornel::session {

inline constexpr std::uint32_t kTcbVariableResourceType = 0x55636D56;  // "UcmV"

struct Resource {
  std::uint32_t type;
  std::uint32_t id;
  std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> encode_resource_file(std::span<const Resource> resources);
bool write_resource_file(const std::string& path, std::span<const Resource> resources);

// Finds resource (type, id) in the bytes of a resource file; false when the
// file is malformed or has no such resource.
bool find_resource(std::span<const std::uint8_t> file, std::uint32_t type, std::uint32_t id,
                   std::vector<std::uint8_t>& data);
bool read_resource(const std::string& path, std::uint32_t type, std::uint32_t id,
                   std::vector<std::uint8_t>& data);

}  // namespace vornel::session
