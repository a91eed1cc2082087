#pragma once
// The 8,192-byte window through which the scan reads the design file.

#include <array>
#include <cstddef>
#include <cstdint>

#include "client/reader/read_only_file.hpp"

namespace vornel::client {

class ScanWindow {
 public:
  static constexpr std::size_t kSize = 8192;

  enum class Result { ok, short_file, read_error };

  // Makes `count` bytes from file offset `offset` available, refilling the
  // window from that offset when they are not all in it.
  Result ensure(const ReadOnlyFile& file, std::uint64_t offset, std::size_t count);

  // The bytes at `offset`, valid after ensure() returned ok for them.
  std::uint8_t* at(std::uint64_t offset) { return bytes_.data() + (offset - base_); }

  void invalidate() { filled_ = 0; }

 private:
  std::array<std::uint8_t, kSize> bytes_{};
  std::uint64_t base_ = 0;
  std::size_t filled_ = 0;
};

}  // namespace vornel::client
