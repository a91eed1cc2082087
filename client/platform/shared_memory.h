#pragma once
// Named shared memory: a POSIX shared-memory object mapped read/write.
// The object stays in the system until remove() is called; closing a mapping
// never removes the name, so the last user of a name is responsible for it.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::platform {

class SharedMemory {
 public:
  SharedMemory() = default;
  ~SharedMemory();
  SharedMemory(SharedMemory&& other) noexcept;
  SharedMemory& operator=(SharedMemory&& other) noexcept;
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  // Creates a new object of `size` zero bytes; fails with EEXIST when the
  // name is taken. Returns 0 or an errno value.
  static int create(std::string_view name, std::size_t size, SharedMemory& out);
  // Creates the object or takes over an existing one of that name, which is
  // resized to `size` and cleared. For names owned by one process only.
  static int create_or_replace(std::string_view name, std::size_t size, SharedMemory& out);
  // Opens an existing object that holds at least `size` bytes and maps
  // `size` bytes of it (0: map the whole object).
  static int open(std::string_view name, std::size_t size, SharedMemory& out);
  // Removes the name; mappings stay valid. Returns 0 or an errno value.
  static int remove(std::string_view name);
  static bool exists(std::string_view name);
  // Names (with their leading '/') of the objects whose names begin with
  // `prefix` (given without the '/').
  static std::vector<std::string> list(std::string_view prefix);

  bool valid() const { return base_ != nullptr; }
  std::byte* data() const { return static_cast<std::byte*>(base_); }
  std::size_t size() const { return size_; }
  std::span<std::byte> bytes() const { return {data(), size_}; }
  const std::string& name() const { return name_; }
  void close();

 private:
  static int map(std::string_view name, int fd, std::size_t size, SharedMemory& out);

  void* base_ = nullptr;
  std::size_t size_ = 0;
  std::string name_;
};

}  // namespace vornel::platform
