#include "bench/common/process_timing.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

extern char** environ;

namespace vornel::bench {

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long peak_kib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

// Children of `parent` (the host the joiner starts).
std::vector<pid_t> children(pid_t parent) {
  std::vector<pid_t> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string text;
    std::getline(stat, text);
    const auto close = text.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    int ppid = 0;
    if (std::sscanf(text.c_str() + close + 1, " %c %d", &state, &ppid) == 2 && ppid == parent) {
      found.push_back(static_cast<pid_t>(std::atoi(name.c_str())));
    }
  }
  return found;
}

// The log descriptor and spawn actions, released on every path.
class SpawnOutput {
 public:
  explicit SpawnOutput(const std::filesystem::path& log)
      : fd_(::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {
    posix_spawn_file_actions_init(&actions_);
    if (fd_ >= 0) {
      posix_spawn_file_actions_adddup2(&actions_, fd_, 1);
      posix_spawn_file_actions_adddup2(&actions_, fd_, 2);
    }
  }
  SpawnOutput(const SpawnOutput&) = delete;
  SpawnOutput& operator=(const SpawnOutput&) = delete;
  ~SpawnOutput() {
    posix_spawn_file_actions_destroy(&actions_);
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  const posix_spawn_file_actions_t* actions() const { return &actions_; }

 private:
  int fd_;
  posix_spawn_file_actions_t actions_{};
};

}  // namespace

double timed_shell(const std::string& command, int& status) {
  const auto start = Clock::now();
  status = std::system(command.c_str());
  return seconds_since(start);
}

int exit_code(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

std::optional<SampledRun> run_sampled(std::vector<std::string> arguments,
                                      const std::vector<std::string>& environment,
                                      const std::filesystem::path& log) {
  if (arguments.empty()) return std::nullopt;
  std::vector<std::string> environment_text = environment;
  std::vector<char*> env;
  for (auto& e : environment_text) env.push_back(e.data());
  for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
  env.push_back(nullptr);
  std::vector<char*> args;
  for (auto& a : arguments) args.push_back(a.data());
  args.push_back(nullptr);

  const SpawnOutput output(log);
  if (!output.ok()) return std::nullopt;
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, args[0], output.actions(), nullptr, args.data(), env.data()) != 0) return std::nullopt;
  SampledRun run;
  std::atomic<bool> done{false};
  std::thread sampler([&] {
    while (!done) {
      run.peak_kib = std::max(run.peak_kib, peak_kib(pid));
      for (pid_t child : children(pid)) run.children_peak_kib = std::max(run.children_peak_kib, peak_kib(child));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  waitpid(pid, &run.status, 0);
  run.seconds = seconds_since(start);
  done = true;
  sampler.join();
  // Sampled, not from getrusage: a spawned child's maximum counts this
  // program's own memory from before its exec.
  return run;
}

}  // namespace vornel::bench
