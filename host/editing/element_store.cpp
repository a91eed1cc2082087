#include "host/editing/element_store.h"

#include "client/records/element_header.hpp"
#include "client/records/element_words.hpp"
#include "host/editing/edit_status.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace vornel::host::editing {

namespace {

constexpr std::uint32_t kBlockBytes = 512;
// The file grows ahead of the end mark by this much at a time, so that most
// appends write inside the file and leave its size alone.
constexpr std::uint64_t kGrowthBytes = 64 * 1024;
// The largest byte position a 32-bit position can carry, leaving room for
// the largest element and its end mark.
constexpr std::uint64_t kMaxPosition = 0xFFFFFFFFull - 2 * 65538ull;

}  // namespace

int ElementStore::bind(int fd) {
  unbind();
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0) return status_code::kFileRead;
  const auto size = static_cast<std::uint64_t>(info.st_size);
  const int mode = ::fcntl(fd, F_GETFL);
  const bool open_for_writing = mode >= 0 && (mode & O_ACCMODE) == O_RDWR;
  if (!view_.map(fd, static_cast<std::size_t>(size), open_for_writing)) return status_code::kFileRead;
  const std::span<const std::uint8_t> file = view_.bytes();
  std::uint64_t at = 0;
  bool marked = false;
  for (;;) {
    if (at + 2 <= size && client::get_word(file.data(), at) == client::kEndOfDesign) {
      marked = true;
      break;
    }
    if (at + 4 > size || at > kMaxPosition) break;
    const std::uint64_t bytes = 2 * (std::uint64_t{client::get_word(file.data(), at + 2)} + 2);
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
  writable_ = open_for_writing && (marked || at == size);
  return 0;
}

void ElementStore::unbind() {
  view_.reset();
  fd_ = -1;
  writable_ = false;
  end_ = 0;
  file_size_ = 0;
  starts_.clear();
}

void ElementStore::trim() {
  if (fd_ < 0 || !writable_) return;
  const std::uint64_t padded = (std::uint64_t{end_} + 2 + kBlockBytes - 1) / kBlockBytes * kBlockBytes;
  if (padded >= file_size_) return;
  // The view never reaches past the end of the file.
  if (!view_.resize(static_cast<std::size_t>(padded))) return;
  if (::ftruncate(fd_, static_cast<off_t>(padded)) == 0) {
    file_size_ = padded;
  } else {
    view_.resize(static_cast<std::size_t>(file_size_));
  }
}

bool ElementStore::is_element_start(std::uint32_t position) const {
  return std::binary_search(starts_.begin(), starts_.end(), position);
}

int ElementStore::grow_to(std::uint64_t size) {
  if (size <= file_size_) return 0;
  // Blocks are allocated now, so that a store into the view can never find
  // the disk full; a failure is reported here as the write's status.
  const int error = ::posix_fallocate(fd_, static_cast<off_t>(file_size_), static_cast<off_t>(size - file_size_));
  if (error != 0) return error == ENOSPC || error == EFBIG ? status_code::kDiskFull : status_code::kFileWrite;
  if (!view_.resize(static_cast<std::size_t>(size))) return status_code::kFileWrite;
  file_size_ = size;
  return 0;
}

int ElementStore::write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  const std::span<std::uint8_t> file = view_.writable_bytes();
  if (offset > file.size() || bytes.size() > file.size() - offset) return status_code::kFileWrite;
  std::memcpy(file.data() + offset, bytes.data(), bytes.size());
  return 0;
}

int ElementStore::write_first_word(std::uint32_t position, std::span<const std::uint8_t> word) {
  const std::span<std::uint8_t> file = view_.writable_bytes();
  if (position % 2 != 0 || std::uint64_t{position} + 2 > file.size()) return status_code::kFileWrite;
  std::uint16_t value = 0;
  std::memcpy(&value, word.data(), 2);
  // Released after every store before it: a reader that sees this word sees
  // the whole element behind it.
  std::atomic_ref<std::uint16_t>(*reinterpret_cast<std::uint16_t*>(file.data() + position))
      .store(value, std::memory_order_release);
  return 0;
}

int ElementStore::element_words(std::uint32_t position, std::uint16_t& first_word, std::uint32_t& file_bytes) const {
  if (fd_ < 0) return status_code::kNoDesignFileOpen;
  if (position >= end_) return status_code::kAtEndOfFile;
  if (!is_element_start(position)) return status_code::kInvalidElement;
  const std::span<const std::uint8_t> file = view_.bytes();
  if (std::uint64_t{position} + 4 > file.size()) return status_code::kFileRead;
  first_word = client::get_word(file.data(), position);
  file_bytes = 2 * (std::uint32_t{client::get_word(file.data(), position + 2)} + 2);
  if (std::uint64_t{position} + file_bytes > file.size()) return status_code::kFileRead;
  return 0;
}

int ElementStore::read(std::uint32_t position, std::vector<std::uint8_t>& file_bytes) const {
  std::uint16_t first = 0;
  std::uint32_t bytes = 0;
  if (int s = element_words(position, first, bytes); s != 0) return s;
  const std::span<const std::uint8_t> element = view_.bytes().subspan(position, bytes);
  file_bytes.assign(element.begin(), element.end());
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
    if (int s = grow_to(grown); s != 0) return s;
  }
  // Everything but the first word: the old end mark stays in force.
  if (int s = write_at(end_ + 2, std::span(scratch_).subspan(2)); s != 0) return s;
  // Now the first word: the elements appear, followed by the new mark.
  if (int s = write_first_word(end_, std::span(scratch_).first(2)); s != 0) return s;

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
  return write_first_word(position, file_bytes.first(2));
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
  return write_first_word(position, word);
}

}  // namespace vornel::host::editing
