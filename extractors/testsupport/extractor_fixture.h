// Runs the extractors in a temporary folder on design and list files that
// dgntool makes from short descriptions.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "testsupport/run_program.h"

namespace vornel::extract::testing {

using Env = std::vector<std::pair<std::string, std::string>>;

class ExtractorRun : public ::testing::Test {
 protected:
  // Writes `description` and makes `name` from it with dgntool.
  void make_design(const std::string& name, const std::string& description) {
    vornel::testing::write_file(dir_ / (name + ".txt"), description);
    const auto made = vornel::testing::run_program("dgntool", {"make", name + ".txt", name},
                                                   dir_.path());
    ASSERT_EQ(made.exit_status, 0) << made.output;
  }
  void make_list(const std::string& name, const std::string& description) {
    vornel::testing::write_file(dir_ / (name + ".txt"), description);
    const auto made = vornel::testing::run_program("dgntool", {"make-list", name + ".txt", name},
                                                   dir_.path());
    ASSERT_EQ(made.exit_status, 0) << made.output;
  }
  // Runs a tool of the chain with the run environment (run id "run01").
  vornel::testing::ProgramResult run(const std::string& tool, const std::vector<std::string>& args,
                                     Env extra = {}) {
    Env env = {{"QBT_segpid", "run01xyz"}, {"QBT_proc", "vornel"}, {"MS_EXE", VORNEL_BIN_DIR}};
    for (auto& [name, value] : extra) {
      auto same = std::find_if(env.begin(), env.end(), [&](const auto& e) { return e.first == name; });
      if (same != env.end()) {
        same->second = value;
      } else {
        env.emplace_back(name, value);
      }
    }
    return vornel::testing::run_program(tool, args, dir_.path(), env);
  }
  std::string points() const { return vornel::testing::read_file(dir_ / "startstp.run01"); }
  std::string settings() const { return vornel::testing::read_file(dir_ / "dimen.run01"); }
  std::string file(const std::string& name) const {
    return vornel::testing::read_file(dir_ / name);
  }

  vornel::testing::TempDir dir_;
};

// The element positions of a point list, one per record, in file order.
inline std::vector<long> positions(const std::string& points, int position_column = 2) {
  std::vector<long> result;
  std::size_t at = 0;
  while (at < points.size()) {
    const std::size_t end = points.find('\n', at);
    const std::string line = points.substr(at, end - at);
    at = end == std::string::npos ? points.size() : end + 1;
    std::size_t field = 0;
    std::size_t p = 0;
    while (p < line.size()) {
      while (p < line.size() && line[p] == ' ') ++p;
      const std::size_t start = p;
      while (p < line.size() && line[p] != ' ') ++p;
      if (start == p) break;
      if (field++ == static_cast<std::size_t>(position_column)) {
        result.push_back(std::stol(line.substr(start, p - start)));
      }
    }
  }
  return result;
}

}  // namespace vornel::extract::testing
