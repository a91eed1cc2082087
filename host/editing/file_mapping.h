#pragma once
// A shared, writable view of a whole open file. Stores into the view are
// in the file's page cache at once, exactly as a pwrite would put them, so
// other readers of the file see them and they survive the process being
// killed; fdatasync on the descriptor makes them durable.
//
// The view only ever covers bytes the file really has: the owner grows the
// file (with its blocks allocated, so a store can never fault for lack of
// disk space) before it widens the view, and narrows the view before it
// shrinks the file.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vornel::host::editing {

class FileMapping {
 public:
  FileMapping() = default;
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  FileMapping(FileMapping&& other) noexcept;
  FileMapping& operator=(FileMapping&& other) noexcept;
  ~FileMapping() { reset(); }

  // Maps the first `size` bytes of `fd`, writable when `writable`. A size
  // of 0 maps nothing and succeeds. False when the map fails.
  bool map(int fd, std::size_t size, bool writable);
  // Widens or narrows the view to `size` bytes; the file must hold them.
  bool resize(std::size_t size);
  void reset();

  std::size_t size() const { return size_; }
  std::span<const std::uint8_t> bytes() const { return {base_, size_}; }
  std::span<std::uint8_t> writable_bytes() { return writable_ ? std::span(base_, size_) : std::span<std::uint8_t>(); }

 private:
  int fd_ = -1;
  bool writable_ = false;
  std::uint8_t* base_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace vornel::host::editing
