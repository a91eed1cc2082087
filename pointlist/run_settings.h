// The run settings file "dimen." + ppid: what an extractor tells the driver
// about the run, as set statements that become environment variables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vornel::pointlist {

struct RunSettings {
  int segdim = 2;                 // QBT_segdim
  std::string dgnname;            // QBT_dgnname
  std::int64_t maxverts = 0;      // QBT_maxverts: point records written
  std::optional<int> wt_opt = 0;  // QBT_wt_opt; absent when the extractor stopped at its record limit

  friend bool operator==(const RunSettings&, const RunSettings&) = default;
};

// The file's text, byte for byte.
std::string format_run_settings(const RunSettings& settings);

// Writes the file; throws PointListError when it cannot be written whole.
void write_run_settings(const std::string& path, const RunSettings& settings);

// Reads a file written by format_run_settings; unknown set lines are ignored.
// Throws PointListError naming the file and line of a malformed line.
RunSettings read_run_settings(const std::string& path);

}  // namespace vornel::pointlist
