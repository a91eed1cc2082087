#pragma once
// The elements of an open design file as a store: where each element starts,
// where the end-of-design mark lies, and writes that keep the file readable
// whenever the process stops.
//
// The file is mapped shared and every write is a store into that view, so
// a change is in the file's page cache (visible to every reader, kept if
// the host is killed) before its request is answered, without a system call
// per element; durability on the disk comes from the host's flush and close
// (fdatasync). An append never shows a half-written element: the new
// element and the end mark after it are stored first, and only then the
// element's first word, over the old end mark, in one aligned two-byte
// store that cannot be torn. Until that word lands, readers stop at the old
// mark and see the file as it was.

#include <cstdint>
#include <span>
#include <vector>

#include "host/editing/file_mapping.h"

namespace vornel::host::editing {

class ElementStore {
 public:
  // Scans the file once for its element starts and its end mark. 0, or 911
  // when the file cannot be read. A file whose elements break off before an
  // end mark is read up to the break and refuses every write (912), so
  // whatever lies beyond is never overwritten.
  int bind(int fd);
  void unbind();
  bool bound_to(int fd) const { return fd_ >= 0 && fd_ == fd; }

  // Position of the end-of-design mark: where the next element goes.
  std::uint32_t end() const { return end_; }
  std::size_t element_count() const { return starts_.size(); }
  bool is_element_start(std::uint32_t position) const;

  // The file-form bytes of the element at `position`. 0; 1011 at or past
  // the end mark; 934 when no element starts there; 911 on a read error.
  int read(std::uint32_t position, std::vector<std::uint8_t>& file_bytes) const;

  // Appends elements (file form, back to back) before the end mark; the
  // mark moves behind them. `position` receives the first one's position.
  int append(std::span<const std::vector<std::uint8_t>> elements, std::uint32_t& position);

  // Replaces the element at `position` with one of the same file size
  // (1013 otherwise, 934 when no element starts there).
  int rewrite(std::uint32_t position, std::span<const std::uint8_t> file_bytes);

  // Overwrites `bytes` at `offset` inside the element at `position`; the
  // first word is never touched here.
  int patch(std::uint32_t position, std::size_t offset, std::span<const std::uint8_t> bytes);

  // Gives back the room reserved past the end mark, leaving the file padded
  // to whole 512-byte blocks. Called before the file is closed.
  void trim();

  // Sets the deleted bit of the element at `position`; `first_word`, when
  // given, receives the element's first word as it was.
  int set_deleted(std::uint32_t position, std::uint16_t* first_word = nullptr);

 private:
  int write_at(std::uint64_t offset, std::span<const std::uint8_t> bytes);
  // Stores an element's first word in one piece, after everything before it.
  int write_first_word(std::uint32_t position, std::span<const std::uint8_t> word);
  // Makes the file (and the view) at least `size` bytes long.
  int grow_to(std::uint64_t size);
  int element_words(std::uint32_t position, std::uint16_t& first_word, std::uint32_t& file_bytes) const;

  int fd_ = -1;
  bool writable_ = false;
  std::uint32_t end_ = 0;
  std::uint64_t file_size_ = 0;
  std::vector<std::uint32_t> starts_;  // ascending element positions
  FileMapping view_;
  std::vector<std::uint8_t> scratch_;
};

}  // namespace vornel::host::editing
