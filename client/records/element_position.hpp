#pragma once
// Element positions: the byte offset of an element in the design file, also
// given as block (512 bytes) and byte, or block and word.

#include <cstdint>

namespace vornel::client {

inline constexpr std::uint32_t kBlockBytes = 512;

struct ElementPosition {
  std::uint32_t offset = 0;

  static constexpr ElementPosition from_block_byte(std::uint32_t block, std::uint32_t byte) {
    return {block * kBlockBytes + byte};
  }
  static constexpr ElementPosition from_block_word(std::uint32_t block, std::uint32_t word) {
    return {block * kBlockBytes + 2 * word};
  }
  constexpr std::uint32_t block() const { return offset / kBlockBytes; }
  constexpr std::uint32_t byte() const { return offset % kBlockBytes; }
  constexpr std::uint32_t word() const { return byte() / 2; }
  // The position of the element that follows one of `file_words` words.
  constexpr ElementPosition next(std::uint32_t file_words) const {
    return {offset + 2 * file_words};
  }
  friend constexpr bool operator==(ElementPosition, ElementPosition) = default;
};

}  // namespace vornel::client
