#include "host/editing/file_mapping.h"

#include <sys/mman.h>

#include <utility>

namespace vornel::host::editing {

FileMapping::FileMapping(FileMapping&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      writable_(std::exchange(other.writable_, false)),
      base_(std::exchange(other.base_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
  if (this != &other) {
    reset();
    fd_ = std::exchange(other.fd_, -1);
    writable_ = std::exchange(other.writable_, false);
    base_ = std::exchange(other.base_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool FileMapping::map(int fd, std::size_t size, bool writable) {
  reset();
  fd_ = fd;
  writable_ = writable;
  return resize(size);
}

bool FileMapping::resize(std::size_t size) {
  if (size == size_) return true;
  if (size == 0) {
    if (base_ != nullptr) ::munmap(base_, size_);
    base_ = nullptr;
    size_ = 0;
    return true;
  }
  void* view = nullptr;
  if (base_ == nullptr) {
    const int protection = PROT_READ | (writable_ ? PROT_WRITE : 0);
    view = ::mmap(nullptr, size, protection, MAP_SHARED, fd_, 0);
  } else {
    view = ::mremap(base_, size_, size, MREMAP_MAYMOVE);
  }
  if (view == MAP_FAILED) return false;
  base_ = static_cast<std::uint8_t*>(view);
  size_ = size;
  return true;
}

void FileMapping::reset() {
  if (base_ != nullptr) ::munmap(base_, size_);
  base_ = nullptr;
  size_ = 0;
  fd_ = -1;
  writable_ = false;
}

}  // namespace vornel::host::editing
