// Point list files: the run file names and buffered record-by-record access.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "pointlist/point_record.h"

namespace vornel::pointlist {

// The run identifier: the first five characters of QBT_segpid.
std::string ppid_from_segpid(std::string_view segpid);

std::string unsorted_list_name(std::string_view ppid);  // "startstp." + ppid
std::string sorted_list_name(std::string_view ppid);    // "sorted." + ppid
std::string run_settings_name(std::string_view ppid);   // "dimen." + ppid

// A point list that cannot be opened, read or written; the message names the
// file and, for malformed records, the line.
class PointListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

class PointListWriter {
 public:
  PointListWriter(const std::string& path, RecordLayout layout);

  void write(const PointRecord& record);
  // Flushes and closes; reports a failed write. Call before trusting the file.
  void close();

  std::int64_t count() const { return count_; }
  const RecordLayout& layout() const { return layout_; }

 private:
  std::string path_;
  RecordLayout layout_;
  FileHandle file_;
  std::int64_t count_ = 0;
};

class PointListReader {
 public:
  PointListReader(const std::string& path, RecordLayout layout);

  // Reads the next record; false at the end of the file. A malformed line
  // throws PointListError naming the file and the line number.
  bool next(PointRecord& record);

  std::int64_t line_number() const { return line_number_; }

 private:
  std::string path_;
  RecordLayout layout_;
  FileHandle file_;
  std::string line_;
  std::int64_t line_number_ = 0;
};

}  // namespace vornel::pointlist
