// Times sorvik against GNU sort on the same 1,250,000-record 2-D point list
// and prints the wall-time ratio and sorvik's peak memory against the input
// size. Targets: ratio at most 0.25, peak memory at most twice the file.
//
//   bench_sorvik [records] [work-folder]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pointlist/point_list_file.h"

extern char** environ;

namespace {

struct Timing {
  double seconds = 0;
  long peak_kib = 0;
  int status = -1;
};

Timing time_command(std::vector<std::string> args, const std::string& stdout_path) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdout_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  Timing timing;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::exit(2);
  }
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  timing.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  timing.peak_kib = usage.ru_maxrss;
  timing.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return timing;
}

}  // namespace

int main(int argc, char** argv) {
  const long records = argc > 1 ? std::atol(argv[1]) : 1250000;
  const std::filesystem::path work =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path() / "vornel-bench-sorvik";
  std::filesystem::create_directories(work);
  const std::string input = (work / "startstp.bench").string();

  // Contour-like data: many coincident end points, positions rising through the file.
  {
    using namespace vornel::pointlist;
    PointListWriter writer(input, {2, RecordKind::plain});
    std::mt19937 random(1);
    std::uniform_int_distribution<int> coordinate(-5000000, 5000000);
    for (long i = 0; i < records; i += 2) {
      PointRecord first{coordinate(random), coordinate(random), 0, static_cast<int>(i * 40)};
      PointRecord last{coordinate(random), coordinate(random), 0, first.position};
      writer.write(first);
      writer.write(last);
    }
    writer.close();
  }
  const double input_mib = static_cast<double>(std::filesystem::file_size(input)) / 1048576.0;

  const std::string sorvik = (std::filesystem::path(SORVIK_PATH)).string();
  setenv("QBT_segdim", "2", 1);
  setenv("QBT_proc", "vornel", 1);
  setenv("QBT_wt_opt", "0", 1);
  setenv("QBT_maxverts", std::to_string(records).c_str(), 1);
  const Timing ours = time_command({sorvik, input, (work / "sorted.bench").string()},
                                   (work / "sorvik.out").string());
  setenv("LC_ALL", "C", 1);
  const Timing gnu = time_command({"sort", "-k1,1n", "-k2,2n", "-k3,3n", input},
                                  (work / "sorted.gnu").string());
  if (ours.status != 0 || gnu.status != 0) {
    std::fprintf(stderr, "a sort failed: sorvik %d, sort %d\n", ours.status, gnu.status);
    return 1;
  }

  const double ratio = ours.seconds / gnu.seconds;
  const double memory_ratio = static_cast<double>(ours.peak_kib) / 1024.0 / input_mib;
  std::printf("records            %ld\n", records);
  std::printf("input              %.1f MiB\n", input_mib);
  std::printf("sorvik             %.3f s, peak %.1f MiB\n", ours.seconds, static_cast<double>(ours.peak_kib) / 1024.0);
  std::printf("GNU sort           %.3f s, peak %.1f MiB\n", gnu.seconds, static_cast<double>(gnu.peak_kib) / 1024.0);
  std::printf("time ratio         %.3f (target <= 0.25)\n", ratio);
  std::printf("memory / input     %.2f (target <= 2.00)\n", memory_ratio);
  std::filesystem::remove_all(work);
  return ratio <= 0.25 && memory_ratio <= 2.0 ? 0 : 1;
}
