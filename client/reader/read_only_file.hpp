#pragma once
// A file opened read-only, closed when the object goes.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vornel::client {

class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Opens `path`; on failure returns the system error number (> 0).
  int open(const char* path);
  void close();
  bool is_open() const { return fd_ >= 0; }

  // Reads up to buffer.size() bytes at `offset`, retrying short reads.
  // Returns the bytes read (fewer at the end of the file) or -1 on an error.
  std::ptrdiff_t read_at(std::uint64_t offset, std::span<std::uint8_t> buffer) const;

 private:
  int fd_ = -1;
};

}  // namespace vornel::client
