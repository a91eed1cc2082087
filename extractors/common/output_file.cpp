#include "extractors/common/output_file.h"

#include <cerrno>
#include <cstring>

namespace vornel::extract {
namespace {

constexpr std::size_t kStreamBuffer = 1 << 20;

}  // namespace

OutputFile::OutputFile(const std::string& path)
    : path_(path), file_(std::fopen(path.c_str(), "w")) {
  if (!file_) {
    throw pointlist::PointListError("cannot create " + path + ": " + std::strerror(errno));
  }
  std::setvbuf(file_.get(), nullptr, _IOFBF, kStreamBuffer);
}

void OutputFile::write(std::string_view text) {
  if (!file_) throw pointlist::PointListError(path_ + " is already closed");
  if (std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size()) {
    throw pointlist::PointListError("cannot write " + path_ + ": " + std::strerror(errno));
  }
}

void OutputFile::close() {
  if (!file_) return;
  std::FILE* file = file_.release();
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const bool closed = std::fclose(file) == 0;
  if (!flushed || !closed) {
    throw pointlist::PointListError("cannot write " + path_ + ": " + std::strerror(errno));
  }
}

}  // namespace vornel::extract
