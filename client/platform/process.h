#pragma once
// Processes: starting a program, watching whether a process still runs, and
// collecting the exit status of a child.

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vornel::platform {

pid_t current_process_id();

// True when `path` is a regular file this process may execute.
bool is_executable_file(const std::string& path);

// True while the process exists and has not yet ended (a zombie has ended).
bool process_alive(pid_t pid);

struct ProcessEnd {
  int exit_status = 0;  // valid when signal == 0
  int signal = 0;       // the signal that ended the process, 0 for a normal exit
};

// A handle on a process, started by us (a child) or found running.
class ProcessHandle {
 public:
  ProcessHandle() = default;
  ~ProcessHandle();
  ProcessHandle(ProcessHandle&& other) noexcept;
  ProcessHandle& operator=(ProcessHandle&& other) noexcept;
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;

  // Starts `argv[0]` with the given arguments and this process's environment.
  // Returns 0 or an errno value.
  static int spawn(const std::vector<std::string>& argv, ProcessHandle& out);
  // Watches a process that is not our child; its exit status cannot be read.
  static ProcessHandle watch(pid_t pid);

  pid_t pid() const { return pid_; }
  bool is_child() const { return child_; }
  bool valid() const { return pid_ > 0; }

  // Non-blocking: true once the process has ended. For a child this also
  // reaps it and records how it ended.
  bool has_ended();
  // Waits up to timeout_ms (negative: no limit) for the process to end.
  bool wait_for_end(int timeout_ms);
  // How a child ended, once has_ended() said so.
  std::optional<ProcessEnd> end() const { return end_; }
  // Kills the process (SIGKILL) and, for a child, reaps it.
  void kill_and_reap();
  // Forgets the process without waiting for it.
  void release();

 private:
  pid_t pid_ = 0;
  int pidfd_ = -1;
  bool child_ = false;
  bool ended_ = false;
  std::optional<ProcessEnd> end_;
};

}  // namespace vornel::platform
