#include "client/reader/read_only_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace vornel::client {

ReadOnlyFile::~ReadOnlyFile() { close(); }

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

int ReadOnlyFile::open(const char* path) {
  close();
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno != 0 ? errno : EIO;
  fd_ = fd;
  return 0;
}

void ReadOnlyFile::close() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

std::ptrdiff_t ReadOnlyFile::read_at(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
  if (fd_ < 0) return -1;
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = ::pread(fd_, buffer.data() + done, buffer.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<std::ptrdiff_t>(done);
}

}  // namespace vornel::client
