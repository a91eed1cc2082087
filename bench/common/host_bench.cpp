#include "bench/common/host_bench.h"

#include "client/session/session.h"
#include "host/header_only_design.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace vornel::bench {

namespace fs = std::filesystem;

HostBench::HostBench(const std::string& program)
    : program_(program),
      file_((fs::temp_directory_path() / (program + "_" + std::to_string(getpid()) + ".dgn")).string()) {}

HostBench::~HostBench() {
  close();
  std::error_code ignored;
  fs::remove(file_, ignored);
}

int HostBench::start(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  count_ = argc > 1 ? std::atol(argv[1]) : 1000000;
  if (count_ <= 0) {
    std::fprintf(stderr, "usage: %s [COUNT]\n", program_.c_str());
    return 2;
  }
  const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
  setenv("MS_EXE", bin.c_str(), 1);
  // A host of another session must not be reached through inherited keys.
  unsetenv("MSGKEY");
  unsetenv("TCBKEY");
  if (!host::write_file(file_, host::header_only_design({}))) {
    std::fprintf(stderr, "cannot write %s\n", file_.c_str());
    return 1;
  }
  std::int16_t status = 0, mode = 1;
  indfpi(nullptr, file_.c_str(), nullptr, nullptr, &mode, nullptr, &status, nullptr);
  if (status != 0) {
    prt_error(&status);
    return 1;
  }
  open_ = true;
  return 0;
}

void HostBench::close() {
  if (!open_) return;
  dedfpi(nullptr);
  open_ = false;
}

}  // namespace vornel::bench
