#pragma once
// Little-endian fields at byte offsets of request, reply and queue records.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace vornel::wire {

static_assert(std::endian::native == std::endian::little, "records are stored in host byte order");

template <class T>
T load(std::span<const std::byte> bytes, std::size_t offset) {
  T value{};
  if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

template <class T>
void store(std::span<std::byte> bytes, std::size_t offset, T value) {
  if (offset + sizeof(T) <= bytes.size()) std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

// Copies text into a field of `width` bytes, cut to leave room for a NUL;
// the rest of the field is cleared.
inline void store_text(std::span<std::byte> bytes, std::size_t offset, std::size_t width,
                       std::string_view text) {
  if (offset + width > bytes.size() || width == 0) return;
  std::memset(bytes.data() + offset, 0, width);
  std::memcpy(bytes.data() + offset, text.data(), std::min(text.size(), width - 1));
}

// Reads a NUL-terminated text from a field of at most `width` bytes.
inline std::string_view load_text(std::span<const std::byte> bytes, std::size_t offset,
                                  std::size_t width) {
  if (offset >= bytes.size()) return {};
  width = std::min(width, bytes.size() - offset);
  const char* start = reinterpret_cast<const char*>(bytes.data() + offset);
  return {start, strnlen(start, width)};
}

}  // namespace vornel::wire
