#include "pointlist/point_list_file.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace vornel::pointlist {
namespace {

constexpr std::size_t kStreamBuffer = 1 << 20;

std::string system_error_text() { return std::strerror(errno); }

FileHandle open_or_throw(const std::string& path, const char* mode, const char* what) {
  FileHandle file(std::fopen(path.c_str(), mode));
  if (!file)
    throw PointListError("cannot open point list " + path + " for " + what + ": " +
                         system_error_text());
  std::setvbuf(file.get(), nullptr, _IOFBF, kStreamBuffer);
  return file;
}

}  // namespace

std::string ppid_from_segpid(std::string_view segpid) {
  return std::string(segpid.substr(0, 5));
}

std::string unsorted_list_name(std::string_view ppid) { return "startstp." + std::string(ppid); }
std::string sorted_list_name(std::string_view ppid) { return "sorted." + std::string(ppid); }
std::string run_settings_name(std::string_view ppid) { return "dimen." + std::string(ppid); }

PointListWriter::PointListWriter(const std::string& path, RecordLayout layout)
    : path_(path), layout_(layout), file_(open_or_throw(path, "w", "writing")) {}

void PointListWriter::write(const PointRecord& record) {
  if (!file_) throw PointListError("point list " + path_ + " is already closed");
  std::array<char, kMaxRecordLength> line{};
  const std::size_t length = format_point_record(layout_, record, line);
  if (std::fwrite(line.data(), 1, length, file_.get()) != length)
    throw PointListError("cannot write point list " + path_ + ": " + system_error_text());
  ++count_;
}

void PointListWriter::close() {
  if (!file_) return;
  std::FILE* file = file_.release();
  const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
  const bool closed = std::fclose(file) == 0;
  if (!flushed || !closed)
    throw PointListError("cannot write point list " + path_ + ": " + system_error_text());
}

PointListReader::PointListReader(const std::string& path, RecordLayout layout)
    : path_(path), layout_(layout), file_(open_or_throw(path, "r", "reading")) {}

bool PointListReader::next(PointRecord& record) {
  line_.clear();
  int c = 0;
  while ((c = getc_unlocked(file_.get())) != EOF && c != '\n') line_.push_back(static_cast<char>(c));
  if (c == EOF && line_.empty()) {
    if (std::ferror(file_.get()))
      throw PointListError("cannot read point list " + path_ + ": " + system_error_text());
    return false;
  }
  ++line_number_;
  const ParseError error = parse_point_record(layout_, line_, record);
  if (error != ParseError::none)
    throw PointListError(path_ + " line " + std::to_string(line_number_) + ": " +
                         std::string(describe(error)) + ": \"" + line_ + "\"");
  return true;
}

}  // namespace vornel::pointlist
