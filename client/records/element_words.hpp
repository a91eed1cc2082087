#pragma once
// Little-endian word access to element records held as bytes.
//
// Both record forms store 16-bit words little-endian. The file form stores a
// 32-bit integer as two such words, high word first; the memory form stores it
// as one little-endian 32-bit value. These helpers read and write at byte
// offsets; callers check the bounds.

#include <cstddef>
#include <cstdint>

namespace vornel::client {

inline std::uint16_t get_word(const std::uint8_t* bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline void put_word(std::uint8_t* bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// 32-bit value in the memory form (little-endian).
inline std::uint32_t get_long(const std::uint8_t* bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(get_word(bytes, offset)) |
         (static_cast<std::uint32_t>(get_word(bytes, offset + 2)) << 16);
}

inline void put_long(std::uint8_t* bytes, std::size_t offset, std::uint32_t value) {
  put_word(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
  put_word(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

// 32-bit value in the file form (high word first).
inline std::uint32_t get_file_long(const std::uint8_t* bytes, std::size_t offset) {
  return (static_cast<std::uint32_t>(get_word(bytes, offset)) << 16) |
         static_cast<std::uint32_t>(get_word(bytes, offset + 2));
}

inline void put_file_long(std::uint8_t* bytes, std::size_t offset, std::uint32_t value) {
  put_word(bytes, offset, static_cast<std::uint16_t>(value >> 16));
  put_word(bytes, offset + 2, static_cast<std::uint16_t>(value & 0xFFFF));
}

}  // namespace vornel::client
