#include "host/design_file.h"

#include "client/connection/status_codes.h"
#include "client/records/element_words.hpp"
#include "client/records/vax_double.hpp"

#include <cerrno>
#include <fcntl.h>
#include <span>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vornel::host {

namespace {

// Byte offsets inside the header element.
constexpr std::size_t kSubunitsPerMaster = 1112;
constexpr std::size_t kUorsPerSubunit = 1116;
constexpr std::size_t kMasterUnitName = 1120;
constexpr std::size_t kSubUnitName = 1122;
constexpr std::size_t kGlobalOrigin = 1240;
constexpr std::size_t kHeaderBytesNeeded = kGlobalOrigin + 3 * 8;
constexpr int kHeaderType = 9;
constexpr int kHeaderLevel = 8;

}  // namespace

bool parse_design_header(const std::uint8_t* bytes, std::size_t size, DesignHeader& header) {
  if (size < 4) return false;
  const std::uint16_t first = client::get_word(bytes, 0);
  const std::uint16_t words_to_follow = client::get_word(bytes, 2);
  const std::size_t element_bytes = 2 * (static_cast<std::size_t>(words_to_follow) + 2);
  if (((first >> 8) & 0x7f) != kHeaderType || (first & 0x3f) != kHeaderLevel) return false;
  if (element_bytes < kHeaderBytesNeeded || element_bytes > size) return false;

  DesignHeader h;
  h.dimension = (first & 0xc0) == 0xc0 ? 3 : 2;
  h.subunits_per_master = static_cast<std::int32_t>(client::get_file_long(bytes, kSubunitsPerMaster));
  h.uors_per_subunit = static_cast<std::int32_t>(client::get_file_long(bytes, kUorsPerSubunit));
  h.master_unit_name = {static_cast<char>(bytes[kMasterUnitName]), static_cast<char>(bytes[kMasterUnitName + 1])};
  h.sub_unit_name = {static_cast<char>(bytes[kSubUnitName]), static_cast<char>(bytes[kSubUnitName + 1])};
  for (std::size_t axis = 0; axis < 3; ++axis)
    h.global_origin[axis] = client::vax_to_ieee(std::span<const std::uint8_t, 8>(bytes + kGlobalOrigin + 8 * axis, 8));
  header = h;
  return true;
}

DesignFile::~DesignFile() { close(); }

DesignFile& DesignFile::operator=(DesignFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
    header_ = other.header_;
    editor_ = std::move(other.editor_);
  }
  return *this;
}

int DesignFile::open(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return status::kUnableToOpenDesignFile;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return status::kUnableToOpenDesignFile;
  }
  // The header element is at most 65,539 words long; read what the file has of it.
  std::vector<std::uint8_t> head(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), 2 * 65539));
  std::size_t got = 0;
  while (got < head.size()) {
    ssize_t n = ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  DesignHeader header;
  if (!parse_design_header(head.data(), got, header)) {
    ::close(fd);
    return status::kUnableToOpenDesignFile;
  }
  close();
  fd_ = fd;
  path_ = path;
  header_ = header;
  editor_.bind(fd_, header.dimension == 3 ? client::Dimension::three : client::Dimension::two);
  return 0;
}

void DesignFile::close() {
  if (fd_ >= 0) {
    // Closing makes every change durable, whoever closes.
    if (editor_.bound_to(fd_)) editor_.finish();
    ::fdatasync(fd_);
    ::close(fd_);
  }
  fd_ = -1;
  editor_ = editing::DesignEditor();
  path_.clear();
}

int DesignFile::flush() {
  if (fd_ < 0) return 0;
  return fdatasync(fd_) == 0 ? 0 : status::kFileWrite;
}

bool DesignFile::is_same_file(const std::string& path) const {
  struct stat open_info {}, other {};
  return fd_ >= 0 && fstat(fd_, &open_info) == 0 && ::stat(path.c_str(), &other) == 0 &&
         open_info.st_dev == other.st_dev && open_info.st_ino == other.st_ino;
}

}  // namespace vornel::host
