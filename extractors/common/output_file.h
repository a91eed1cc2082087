// A run file an extractor creates and writes in order: every failure to
// create, write or close it throws pointlist::PointListError naming the file.
#pragma once

#include <string>
#include <string_view>

#include "pointlist/point_list_file.h"

namespace vornel::extract {

class OutputFile {
 public:
  explicit OutputFile(const std::string& path);

  void write(std::string_view text);
  // Flushes and closes; does nothing the second time.
  void close();

 private:
  std::string path_;
  pointlist::FileHandle file_;
};

}  // namespace vornel::extract
