#include "client/reader/scan_window.hpp"

namespace vornel::client {

ScanWindow::Result ScanWindow::ensure(const ReadOnlyFile& file, std::uint64_t offset,
                                      std::size_t count) {
  if (count > kSize) return Result::short_file;
  if (offset >= base_ && offset + count <= base_ + filled_) return Result::ok;
  const std::ptrdiff_t n = file.read_at(offset, bytes_);
  if (n < 0) {
    filled_ = 0;
    return Result::read_error;
  }
  base_ = offset;
  filled_ = static_cast<std::size_t>(n);
  return filled_ >= count ? Result::ok : Result::short_file;
}

}  // namespace vornel::client
