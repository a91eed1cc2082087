// Whole runs of the vornel program: what it prints and its exit status as
// the shell sees it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct ProgramRun {
  std::string out;
  int status = -1;
};

// Runs vornel with a clean environment plus `env` (NAME=value words).
ProgramRun run_vornel(const std::string& env, const std::string& args) {
  const std::string command =
      "env -i " + env + " " + std::string(VORNEL_BIN_DIR) + "/vornel " + args + " 2>&1";
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  std::size_t got = 0;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), got);
  const int raw = pclose(pipe);
  if (WIFEXITED(raw)) run.status = WEXITSTATUS(raw);
  return run;
}

const std::string kRunEnv = "QBT_segpid=4711 QBT_segdim=3 QBT_maxverts=10";

TEST(VornelProgram, ExitStatusAsTheShellSeesIt) {
  struct Case {
    std::string env;
    std::string args;
    int status;
    std::string tail;  // what the output ends with
  };
  const Case cases[] = {
      {kRunEnv, "-F roads.dgn -L 5", 8, "\n\nOpening dgnfilename roads.dgn\n\nError opening roads.dgn"},
      {kRunEnv, "-h", 255, "        subject to the definitions in the README file\n\n"},
      {kRunEnv, "-s", 255, " save [ -s option ] the original data on the same level\n"},
      {kRunEnv, "-ID_N2L n,i,l,f,t -ID_L2N n,i,l,f,t", 254, "during the same run"},
      {kRunEnv, "-L 64", 2, "\ninvalid level number 64 - exiting\n"},
      {kRunEnv, "-Q -D -x", 3, "README file\n\n"},
      {kRunEnv, "roads.dgn", 1, "README file\n\n"},
      {"QBT_segpid=4711", "-c", 4, "Environment variable QBT_segdim is not set\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const ProgramRun run = run_vornel(c.env, c.args);
    EXPECT_EQ(run.status, c.status) << run.out;
    ASSERT_GE(run.out.size(), c.tail.size());
    EXPECT_EQ(run.out.substr(run.out.size() - c.tail.size()), c.tail);
    EXPECT_TRUE(run.out.starts_with(
        "\nInterpreting vornel (version 5.6) command line arguments .....\n\n"));
  }
}

TEST(VornelProgram, DiagnosticsTraceTheCommandLine) {
  const ProgramRun run = run_vornel(kRunEnv, "-c -Q 3");
  EXPECT_EQ(run.status, 8);  // no design file named: it cannot be opened
  EXPECT_NE(run.out.find("\nprocessing argument 1 *-c*"), std::string::npos);
  EXPECT_NE(run.out.find("\nppid=4711, dimen=3, maxverts=10"), std::string::npos);
}

}  // namespace
