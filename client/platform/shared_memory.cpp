#include "client/platform/shared_memory.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vornel::platform {

namespace {

// shm_open wants a NUL-terminated name beginning with '/'.
std::string posix_name(std::string_view name) {
  std::string out;
  if (name.empty() || name.front() != '/') out.push_back('/');
  out.append(name);
  return out;
}

}  // namespace

SharedMemory::~SharedMemory() { close(); }

SharedMemory::SharedMemory(SharedMemory&& other) noexcept
    : base_(std::exchange(other.base_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      name_(std::move(other.name_)) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
  if (this != &other) {
    close();
    base_ = std::exchange(other.base_, nullptr);
    size_ = std::exchange(other.size_, 0);
    name_ = std::move(other.name_);
  }
  return *this;
}

void SharedMemory::close() {
  if (base_ != nullptr) munmap(base_, size_);
  base_ = nullptr;
  size_ = 0;
  name_.clear();
}

int SharedMemory::map(std::string_view name, int fd, std::size_t size, SharedMemory& out) {
  void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  int error = base == MAP_FAILED ? errno : 0;
  ::close(fd);
  if (error != 0) return error;
  out.close();
  out.base_ = base;
  out.size_ = size;
  out.name_ = posix_name(name);
  return 0;
}

int SharedMemory::create(std::string_view name, std::size_t size, SharedMemory& out) {
  std::string path = posix_name(name);
  int fd = shm_open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return errno;
  if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
    int error = errno;
    ::close(fd);
    shm_unlink(path.c_str());
    return error;
  }
  int error = map(name, fd, size, out);
  if (error != 0) shm_unlink(path.c_str());
  return error;
}

int SharedMemory::create_or_replace(std::string_view name, std::size_t size, SharedMemory& out) {
  std::string path = posix_name(name);
  int fd = shm_open(path.c_str(), O_RDWR | O_CREAT, 0600);
  if (fd < 0) return errno;
  // Truncating to 0 first clears whatever a previous owner left behind.
  if (ftruncate(fd, 0) != 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) {
    int error = errno;
    ::close(fd);
    return error;
  }
  return map(name, fd, size, out);
}

int SharedMemory::open(std::string_view name, std::size_t size, SharedMemory& out) {
  std::string path = posix_name(name);
  int fd = shm_open(path.c_str(), O_RDWR, 0);
  if (fd < 0) return errno;
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    int error = errno;
    ::close(fd);
    return error;
  }
  auto actual = static_cast<std::size_t>(info.st_size);
  // A creator that has not yet sized the object, or a foreign object of the
  // same name, must not be mapped beyond its end.
  if (actual == 0 || actual < size) {
    ::close(fd);
    return EINVAL;
  }
  return map(name, fd, size == 0 ? actual : size, out);
}

int SharedMemory::remove(std::string_view name) {
  std::string path = posix_name(name);
  return shm_unlink(path.c_str()) == 0 ? 0 : errno;
}

bool SharedMemory::exists(std::string_view name) {
  std::string path = posix_name(name);
  int fd = shm_open(path.c_str(), O_RDONLY, 0);
  if (fd < 0) return errno != ENOENT;
  ::close(fd);
  return true;
}

std::vector<std::string> SharedMemory::list(std::string_view prefix) {
  // Linux keeps POSIX shared-memory objects as files in /dev/shm.
  std::vector<std::string> names;
  DIR* dir = opendir("/dev/shm");
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name.substr(0, prefix.size()) == prefix) names.push_back("/" + std::string(name));
  }
  closedir(dir);
  return names;
}

}  // namespace vornel::platform
