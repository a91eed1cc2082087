#include "pointlist/run_settings.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "pointlist/point_list_file.h"

namespace vornel::pointlist {

std::string format_run_settings(const RunSettings& settings) {
  std::string text = "set QBT_segdim=" + std::to_string(settings.segdim);
  text += "\nset QBT_dgnname=" + settings.dgnname;
  text += "\nset QBT_maxverts=" + std::to_string(settings.maxverts);
  if (settings.wt_opt) text += "\nset QBT_wt_opt=" + std::to_string(*settings.wt_opt) + "\n";
  return text;
}

void write_run_settings(const std::string& path, const RunSettings& settings) {
  const std::string text = format_run_settings(settings);
  FileHandle file(std::fopen(path.c_str(), "w"));
  if (!file) throw PointListError("cannot open run settings file " + path + " for writing");
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  const bool closed = std::fclose(file.release()) == 0;
  if (!written || !closed) throw PointListError("cannot write run settings file " + path);
}

namespace {

template <typename Int>
bool parse_whole(const std::string& text, Int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

RunSettings read_run_settings(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw PointListError("cannot open run settings file " + path);
  RunSettings settings;
  settings.wt_opt.reset();
  std::string line;
  int line_number = 0;
  while (std::getline(in, line)) {
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    auto fail = [&] {
      return PointListError(path + " line " + std::to_string(line_number) +
                            ": not a run setting: \"" + line + "\"");
    };
    if (line.rfind("set ", 0) != 0) throw fail();
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) throw fail();
    const std::string name = line.substr(4, equals - 4);
    const std::string value = line.substr(equals + 1);
    bool ok = true;
    if (name == "QBT_segdim") {
      ok = parse_whole(value, settings.segdim);
    } else if (name == "QBT_dgnname") {
      settings.dgnname = value;
    } else if (name == "QBT_maxverts") {
      ok = parse_whole(value, settings.maxverts);
    } else if (name == "QBT_wt_opt") {
      int wt = 0;
      ok = parse_whole(value, wt);
      settings.wt_opt = wt;
    }
    if (!ok) throw fail();
  }
  return settings;
}

}  // namespace vornel::pointlist
