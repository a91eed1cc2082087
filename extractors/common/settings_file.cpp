#include "extractors/common/settings_file.h"

namespace vornel::extract {

SettingsFile::SettingsFile(const std::string& path) : file_(path) {}

void SettingsFile::write_design(int dimension, const std::string& design_file) {
  file_.write("set QBT_segdim=" + std::to_string(dimension) + "\nset QBT_dgnname=" + design_file);
}

void SettingsFile::write_count(std::int64_t records) {
  file_.write("\nset QBT_maxverts=" + std::to_string(records));
}

void SettingsFile::write_weight_option(int wt_opt) {
  file_.write("\nset QBT_wt_opt=" + std::to_string(wt_opt) + "\n");
}

void SettingsFile::close() { file_.close(); }

}  // namespace vornel::extract
