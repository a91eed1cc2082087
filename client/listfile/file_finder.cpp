#include "client/listfile/file_finder.hpp"

#include <sys/stat.h>

#include <cstdlib>

namespace vornel::client {
namespace {

bool is_file(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string find_file(const std::string& name, const std::string& extension,
                      const char* search_variable) {
  std::string completed = name;
  const std::size_t slash = completed.rfind('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (completed.find('.', base) == std::string::npos) completed += extension;
  if (is_file(completed) || completed.empty() || completed.front() == '/') return completed;
  const char* list = std::getenv(search_variable);
  if (list == nullptr) return completed;
  const std::string directories = list;
  std::size_t start = 0;
  while (start <= directories.size()) {
    std::size_t end = directories.find(';', start);
    if (end == std::string::npos) end = directories.size();
    std::string directory = trim(directories.substr(start, end - start));
    if (!directory.empty()) {
      if (directory.back() != '/') directory += '/';
      if (is_file(directory + completed)) return directory + completed;
    }
    start = end + 1;
  }
  return completed;
}

}  // namespace vornel::client
