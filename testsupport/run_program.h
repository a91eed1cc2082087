// Runs one of our programs from a test and captures what it prints.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vornel::testing {

struct ProgramResult {
  int exit_status = -1;  // as a shell sees it (0..255), or -1 when it did not exit
  std::string output;    // standard output and standard error together
};

// Runs `program` (a name in the build's bin folder, or a path) with `args` in
// `working_dir`, with `env` added to the environment, and waits for it.
ProgramResult run_program(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& working_dir,
                          const std::vector<std::pair<std::string, std::string>>& env = {});

// A fresh, empty folder below the system's temporary folder, removed on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& text);

}  // namespace vornel::testing
