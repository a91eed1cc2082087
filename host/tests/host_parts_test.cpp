// The host's own pieces: reading a design file's header and its command line.

#include "host/design_file.h"
#include "host/header_only_design.h"
#include "host/host_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vornel::host {
namespace {

TEST(DesignHeaderTest, ReadsUnitsOriginAndDimension) {
  HeaderValues values{true, 12, 8000, {-1.5e9, 2.25, 7.0}};
  std::vector<std::uint8_t> file = header_only_design(values);
  DesignHeader header;
  ASSERT_TRUE(parse_design_header(file.data(), file.size(), header));
  EXPECT_EQ(header.dimension, 3);
  EXPECT_EQ(header.subunits_per_master, 12);
  EXPECT_EQ(header.uors_per_subunit, 8000);
  EXPECT_EQ(header.global_origin, values.global_origin);
  EXPECT_EQ(header.master_unit_name[0], 'm');

  values.three_d = false;
  file = header_only_design(values);
  ASSERT_TRUE(parse_design_header(file.data(), file.size(), header));
  EXPECT_EQ(header.dimension, 2);
}

TEST(DesignHeaderTest, RejectsWhatIsNotADesignFileHeader) {
  const std::vector<std::uint8_t> good = header_only_design({});
  struct Case {
    const char* what;
    std::size_t byte;
    std::uint8_t value;
    std::size_t size;
  } cases[] = {
      {"line element first", 1, 0x03, good.size()},
      {"header on level 9", 0, 0x09, good.size()},
      {"words to follow too few for the origin", 2, 0x10, good.size()},
      {"file shorter than its header", 0, 0x08, 1000},
      {"empty file", 0, 0x08, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    bytes[c.byte] = c.value;
    if (c.byte == 2) bytes[3] = 0;
    DesignHeader header;
    EXPECT_FALSE(parse_design_header(bytes.data(), c.size, header)) << c.what;
  }
}

TEST(HostOptionsTest, CommandLines) {
  using Args = std::vector<std::string>;
  std::string error;
  auto client = parse_host_options(Args{"-client", "vornel", "a.dgn", "-c512"}, error);
  ASSERT_TRUE(client);
  EXPECT_TRUE(client->started_by_client);
  EXPECT_EQ(client->task_name, "vornel");
  EXPECT_EQ(client->design_file, "a.dgn");
  EXPECT_EQ(client->cache, "512");

  auto by_hand = parse_host_options(Args{"b.dgn"}, error);
  ASSERT_TRUE(by_hand);
  EXPECT_FALSE(by_hand->started_by_client);
  EXPECT_EQ(by_hand->design_file, "b.dgn");

  EXPECT_TRUE(parse_host_options(Args{"--help"}, error)->help);
  for (const Args& bad : {Args{}, Args{"-client", "a.dgn"}, Args{"a.dgn", "b.dgn"}, Args{"-x", "a.dgn"}}) {
    error.clear();
    EXPECT_FALSE(parse_host_options(bad, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(HostProgramTest, HelpAndUsageErrors) {
  const std::string host = std::string(VORNEL_BIN_DIR) + "/dgnhost";
  EXPECT_EQ(std::system((host + " --help | grep -q -- '-client TASK DESIGNFILE'").c_str()), 0);
  int status = std::system((host + " >/dev/null 2>&1").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
  // By hand, a file that is not a design file ends the host with 948 (shell: 180).
  status = std::system((host + " /nonexistent/file.dgn >/dev/null 2>&1").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == (948 & 255));
}

}  // namespace
}  // namespace vornel::host
