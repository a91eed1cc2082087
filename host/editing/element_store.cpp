#include "host/editing/element_store.h"

#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "host/editing/edit_status.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace vornel::host::editing {

namespace {

constexpr std::uint32_t kBlockBytes = 512;
// The file grows ahead of the end mark by this much at a time, so that most
// appends write inside the file and leave its size alone.
constexpr std::uint64_t kGrowthBytes = 64 * 1024;
// The largest byte position a 32-bit position can carry, leaving room for
// the largest element and its end mark.
constexpr std::uint64_t kMaxPosition = 0xFFFFFFFFull - 2 * 65538ull;

bool read_exact(int fd, std::uint8_t* out, std::size_t size, std::uint64_t offset, std::size_t& got) {
  got = 0;
  while (got < size) {
    const ssize_t n = ::pread(fd, out + got, size - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

int ElementStore::bind(int fd) {
  unbind();
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0) return status_code::kFileRead;
  const auto size = static_cast<std::uint64_t>(info.st_size);
  // Walk the elements block-wise through a window; elements may span blocks.
  std::vector<std::uint8_t> window(1 << 20);
  std::uint64_t window_start = 0;
  std::size_t window_size = 0;
  std::uint64_t at = 0;
  bool marked = false;
  for (;;) {
    if (at + 4 > window_start + window_size) {
      window_start = at;
      if (!read_exact(fd, window.data(), window.size(), window_start, window_size)) return status_code::kFileRead;
    }
    const std::size_t rel = static_cast<std::size_t>(at - window_start);
    if (rel + 2 <= window_size && client::get_word(window.data(), rel) == client::kEndOfDesign) {
      marked = true;
      break;
    }
    if (rel + 4 > window_size || at > kMaxPosition) break;
    const std::uint64_t bytes = 2 * (std::uint64_t{client::get_word(window.data(), rel + 2)} + 2);
    if (at + bytes > size) break;  // an element cut short by the end of the file
    starts_.push_back(static_cast<std::uint32_t>(at));
    at += bytes;
  }
  fd_ = fd;
  end_ = static_cast<std::uint32_t>(at);
  file_size_ = size;
  // Without a mark the elements must run exactly to the end of the file:
  // then the mark is simply missing and appending adds it. Anything else
  // is damage, and the file is only read.
  writable_ = marked || at == size;
  return 0;
}

void ElementStore::unbind() {
  fd_ = -1;
  writable_ = false;
  end_ = 0;
  file_size_ = 0;
  starts_.clear();
}

void ElementStore::trim() {
  if (fd_ < 0 || !writable_) return;
  const std::uint64_t padded = (std::uint64_t{end_} + 2 + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
  if (padded < file_size_ && ::ftruncate(fd_, static_cast<off_t>(padded)) == 0) file_size_ = padded;
}

bool ElementStore::is_element_start(std::uint32_t position) const {
  return std::binary_search(starts_.begin(), starts_.end(), position);
}

int ElementStore::write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return errno == ENOSPC ? status_code::kDiskFull : status_code::kFileWrite;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

int ElementStore::element_words(std::uint32_t position, std::uint16_t& first_word, std::uint32_t& file_bytes) const {
  if (fd_ < 0) return status_code::kNoDesignFileOpen;
  if (position >= end_) return status_code::kAtEndOfFile;
  if (!is_element_start(position)) return status_code::kInvalidElement;
  std::uint8_t head[4];
  std::size_t got = 0;
  if (!read_exact(fd_, head, 4, position, got) || got != 4) return status_code::kFileRead;
  first_word = client::get_word(head, 0);
  file_bytes = 2 * (std::uint32_t{client::get_word(head, 2)} + 2);
  return 0;
}

int ElementStore::read(std::uint32_t position, std::vector<std::uint8_t>& file_bytes) const {
  std::uint16_t first = 0;
  std::uint32_t bytes = 0;
  if (int s = element_words(position, first, bytes); s != 0) return s;
  file_bytes.resize(bytes);
  std::size_t got = 0;
  if (!read_exact(fd_, file_bytes.data(), bytes, position, got) || got != bytes) return status_code::kFileRead;
  return 0;
}

int ElementStore::append(std::span<const std::vector<std::uint8_t>> elements, std::uint32_t& position) {
  if (fd_ < 0) return status_code::kNoDesignFileOpen;
  if (!writable_) return status_code::kFileWrite;
  std::size_t total = 0;
  for (const auto& e : elements) {
    if (e.size() < 4 || e.size() % 2 != 0) return status_code::kInvalidElement;
    total += e.size();
  }
  if (elements.empty()) return status_code::kInvalidElement;
  if (end_ + std::uint64_t{total} > kMaxPosition) return status_code::kDiskFull;

  scratch_.clear();
  for (const auto& e : elements) scratch_.insert(scratch_.end(), e.begin(), e.end());
  scratch_.push_back(0xFF);
  scratch_.push_back(0xFF);
  const std::uint64_t new_end = end_ + std::uint64_t{total};
  if (new_end + 2 > file_size_) {
    // Zeros past the end mark are never read as elements.
    const std::uint64_t grown = (new_end + 2 + kGrowthBytes - 1) / kGrowthBytes * kGrowthBytes;
    if (::ftruncate(fd_, static_cast<off_t>(grown)) != 0) return status_code::kFileWrite;
    file_size_ = grown;
  }
  // Everything but the first word: the old end mark stays in force.
  if (int s = write_at(end_ + 2, std::span(scratch_).subspan(2)); s != 0) return s;
  // Now the first word: the elements appear, followed by the new mark.
  if (int s = write_at(end_, std::span(scratch_).first(2)); s != 0) return s;

  position = end_;
  std::uint32_t at = end_;
  for (const auto& e : elements) {
    starts_.push_back(at);
    at += static_cast<std::uint32_t>(e.size());
  }
  end_ = static_cast<std::uint32_t>(new_end);
  return 0;
}

int ElementStore::rewrite(std::uint32_t position, std::span<const std::uint8_t> file_bytes) {
  std::uint16_t first = 0;
  std::uint32_t bytes = 0;
  if (int s = element_words(position, first, bytes); s != 0) return s == status_code::kAtEndOfFile ? status_code::kCantWriteAtPosition : s;
  if (!writable_) return status_code::kFileWrite;
  if (file_bytes.size() != bytes || client::get_word(file_bytes.data(), 2) != bytes / 2 - 2)
    return status_code::kCantWriteAtPosition;
  if (int s = write_at(position + 2ull, file_bytes.subspan(2)); s != 0) return s;
  return write_at(position, file_bytes.first(2));
}

int ElementStore::patch(std::uint32_t position, std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::uint16_t first = 0;
  std::uint32_t size = 0;
  if (int s = element_words(position, first, size); s != 0) return s;
  if (!writable_) return status_code::kFileWrite;
  if (offset < 4 || offset + bytes.size() > size) return status_code::kInvalidElement;
  return write_at(position + std::uint64_t{offset}, bytes);
}

int ElementStore::set_deleted(std::uint32_t position, std::uint16_t* first_word) {
  std::uint16_t first = 0;
  std::uint32_t size = 0;
  if (int s = element_words(position, first, size); s != 0) return s;
  if (first_word != nullptr) *first_word = first;
  if (!writable_) return status_code::kFileWrite;
  std::uint8_t word[2];
  client::put_word(word, 0, static_cast<std::uint16_t>(first | client::kDeletedBit));
  return write_at(position, word);
}

}  // namespace vornel::host::editing
