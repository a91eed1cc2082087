#include "client/session/file_finder.h"

#include <filesystem>
#include <string_view>

namespace vornel::session {

namespace fs = std::filesystem;

namespace {

constexpr const char* kResourceFileName = "dgnhost.rsc";

bool is_file(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool is_directory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

void add_list(std::string_view list, std::vector<fs::path>& dirs) {
  while (!list.empty()) {
    std::size_t cut = list.find(';');
    std::string_view dir = list.substr(0, cut);
    if (!dir.empty()) dirs.emplace_back(dir);
    list = cut == std::string_view::npos ? std::string_view{} : list.substr(cut + 1);
  }
}

}  // namespace

std::optional<std::string> find_resource_file(const VariableLookup& lookup) {
  const std::string resource = lookup("MS_RSRC");
  if (!resource.empty() && is_file(resource)) return resource;
  std::vector<fs::path> dirs;
  if (!resource.empty()) dirs.push_back(is_directory(resource) ? fs::path(resource) : fs::path(resource).parent_path());
  dirs.emplace_back(".");
  add_list(lookup("MS_EXE"), dirs);
  add_list(lookup("MS_RSRCPATH"), dirs);
  for (const fs::path& dir : dirs)
    if (!dir.empty() && is_file(dir / kResourceFileName)) return (dir / kResourceFileName).string();
  return std::nullopt;
}

}  // namespace vornel::session
