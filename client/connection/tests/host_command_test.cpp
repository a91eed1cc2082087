#include "client/connection/host_connection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vornel::connection {
namespace {

TEST(HostCommandTest, ArgumentsAndCacheOption) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(host_command("/x/dgnhost", "pellax", "a b.dgn", nullptr),
            (Args{"/x/dgnhost", "-client", "pellax", "a b.dgn"}));
  EXPECT_EQ(host_command("/x/dgnhost", "vornel", "f.dgn", "512"),
            (Args{"/x/dgnhost", "-client", "vornel", "f.dgn", "-c512"}));
  EXPECT_EQ(host_command("/x/dgnhost", "vornel", "f.dgn", ""),
            (Args{"/x/dgnhost", "-client", "vornel", "f.dgn", "-c"}));
}

TEST(HostCommandTest, LocatesHostInCurrentDirectoryThenSearchList) {
  namespace fs = std::filesystem;
  fs::path root = fs::temp_directory_path() / ("vornel_locate_" + std::to_string(getpid()));
  fs::create_directories(root / "cwd");
  fs::create_directories(root / "bin");
  fs::path old = fs::current_path();
  fs::current_path(root / "cwd");
  auto make_program = [](const fs::path& path) {
    std::ofstream(path) << "#!/bin/sh\n";
    fs::permissions(path, fs::perms::owner_all);
  };

  setenv("MS_EXE", (";/nonexistent;" + (root / "bin").string()).c_str(), 1);
  EXPECT_FALSE(locate_host_program().has_value());
  make_program(root / "bin" / "dgnhost");
  EXPECT_EQ(locate_host_program(), (root / "bin" / "dgnhost").string() + "");
  make_program(root / "cwd" / "dgnhost");
  EXPECT_EQ(locate_host_program(), std::string("./dgnhost"));

  unsetenv("MS_EXE");
  fs::current_path(old);
  fs::remove_all(root);
}

}  // namespace
}  // namespace vornel::connection
