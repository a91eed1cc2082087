// A read-only view of a whole input file, mapped rather than copied so that
// sorting a list costs the file once plus the keys.
#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

namespace vornel::pointlist {

class MappedInput {
 public:
  MappedInput() = default;
  MappedInput(const MappedInput&) = delete;
  MappedInput& operator=(const MappedInput&) = delete;
  ~MappedInput() { reset(); }

  // Opens and maps `path`. False when it cannot be opened or is not a regular
  // file; errno tells why.
  bool open(const char* path) {
    reset();
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    struct stat info {};
    if (fstat(fd_, &info) != 0) return false;
    if (!S_ISREG(info.st_mode)) return read_stream();
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ == 0) return true;
    void* data = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd_, 0);
    if (data == MAP_FAILED) return false;
    data_ = static_cast<const char*>(data);
    return true;
  }

  std::string_view text() const {
    return data_ ? std::string_view(data_, size_) : std::string_view(copy_);
  }

 private:
  // Pipes and devices cannot be mapped: their bytes are copied instead.
  bool read_stream() {
    char chunk[65536];
    ssize_t n = 0;
    while ((n = ::read(fd_, chunk, sizeof chunk)) > 0) copy_.append(chunk, static_cast<std::size_t>(n));
    return n == 0;
  }

  void reset() {
    if (data_) munmap(const_cast<char*>(data_), size_);
    if (fd_ >= 0) ::close(fd_);
    data_ = nullptr;
    copy_.clear();
    fd_ = -1;
    size_ = 0;
  }

  int fd_ = -1;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::string copy_;
};

}  // namespace vornel::pointlist
