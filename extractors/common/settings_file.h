// The run settings file "dimen." + ppid, written in the steps of a run: the
// dimension and design file name once the file is open, the record count
// and weight option at the end. A run that stops early leaves the lines
// written so far.
#pragma once

#include <cstdint>
#include <string>

#include "extractors/common/output_file.h"

namespace vornel::extract {

class SettingsFile {
 public:
  // Creates the file (mode "w"); throws pointlist::PointListError.
  explicit SettingsFile(const std::string& path);

  void write_design(int dimension, const std::string& design_file);  // lines 1 and 2
  void write_count(std::int64_t records);                            // line 3
  void write_weight_option(int wt_opt);                              // line 4
  // Closes; throws when a write failed. Safe to call twice.
  void close();

 private:
  OutputFile file_;
};

}  // namespace vornel::extract
