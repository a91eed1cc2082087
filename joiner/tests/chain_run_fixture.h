// A whole run through the driver for end-to-end joiner tests: a design file
// made by dgntool, an optional run database made by dgndb, the real
// extractor, sorter, joiner and dgnhost, then the file dumped and the
// database read back with sqlite3.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "testsupport/run_program.h"

namespace vornel::joiner::testing {

using vornel::testing::ProgramResult;
using vornel::testing::read_file;
using vornel::testing::run_program;
using vornel::testing::TempDir;
using vornel::testing::write_file;

// The value of `key=` in one dump line.
inline std::string dump_field(const std::string& line, const std::string& key) {
  const std::string wanted = " " + key + "=";
  const auto at = line.find(wanted);
  if (at == std::string::npos) return {};
  const auto start = at + wanted.size();
  return line.substr(start, line.find(' ', start) - start);
}

struct Element {
  std::string type;
  std::string level;
  std::string color;
  std::string vertices;
  bool operator==(const Element&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Element& e) {
  return out << "type " << e.type << " level " << e.level << " color " << e.color << " : " << e.vertices;
}

class ChainRun : public ::testing::Test {
 protected:
  // Makes d.dgn from `description` (dgntool make) and runs the driver on it
  // with `options`; `env` is added to the driver's environment.
  ProgramResult join(const std::string& description, const std::vector<std::string>& options = {},
                     const std::vector<std::pair<std::string, std::string>>& env = {}) {
    write_file(dir_ / "d.txt", description);
    EXPECT_EQ(run_program("dgntool", {"make", "d.txt", "d.dgn"}, dir_.path()).exit_status, 0);
    std::vector<std::string> args = {"-S", "vornel.pl", "-F", "d.dgn"};
    args.insert(args.end(), options.begin(), options.end());
    const char* path = std::getenv("PATH");
    auto full_env = env;
    full_env.emplace_back("PATH", std::string(VORNEL_BIN_DIR) + ":" + (path ? path : ""));
    return run_program("/usr/bin/perl", args, dir_.path(), full_env);
  }

  // Makes d.db from a dgndb description; the driver uses it when the run
  // names it (QBT_dbName=d.db in `env`, or the default beside d.dgn).
  void make_database(const std::string& description, const std::string& name = "d.db") {
    write_file(dir_ / "db.txt", description);
    ASSERT_EQ(run_program("dgndb", {"make", "db.txt", name}, dir_.path()).exit_status, 0);
  }

  // What sqlite3 prints for `sql` on the run database ('|' between columns).
  std::string query(const std::string& sql, const std::string& name = "d.db") {
    return run_program("/usr/bin/sqlite3", {name, sql}, dir_.path()).output;
  }

  // The dump lines of d.dgn's elements that are (not) deleted, header left out.
  std::vector<std::string> dump_lines(bool deleted = false) {
    const ProgramResult dump = run_program("dgntool", {"dump", "d.dgn"}, dir_.path());
    std::vector<std::string> found;
    std::istringstream lines(dump.output);
    for (std::string line; std::getline(lines, line);) {
      if (!line.starts_with("pos=") || dump_field(line, "type") == "9") continue;
      if ((dump_field(line, "deleted") == "1") != deleted) continue;
      found.push_back(line);
    }
    return found;
  }

  std::vector<Element> elements(bool deleted = false) {
    std::vector<Element> found;
    for (const std::string& line : dump_lines(deleted))
      found.push_back({dump_field(line, "type"), dump_field(line, "level"), dump_field(line, "color"),
                       dump_field(line, "vertices")});
    return found;
  }

  TempDir dir_;
};

}  // namespace vornel::joiner::testing
