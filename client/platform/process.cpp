#include "client/platform/process.h"

#include <atomic>
#include <cerrno>
#include <pthread.h>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace vornel::platform {

namespace {

int open_pidfd(pid_t pid) { return static_cast<int>(syscall(SYS_pidfd_open, pid, 0)); }

bool pidfd_readable(int pidfd, int timeout_ms) {
  pollfd entry{pidfd, POLLIN, 0};
  int rc;
  do rc = poll(&entry, 1, timeout_ms);
  while (rc < 0 && errno == EINTR);
  return rc > 0;
}

}  // namespace

namespace {

// getpid() is a system call; posts stamp every message with it. The cache
// is dropped in a forked child.
std::atomic<pid_t> cached_pid{0};
void forget_cached_pid() { cached_pid.store(0, std::memory_order_relaxed); }

}  // namespace

pid_t current_process_id() {
  pid_t pid = cached_pid.load(std::memory_order_relaxed);
  if (pid == 0) {
    static const bool registered = pthread_atfork(nullptr, nullptr, forget_cached_pid) == 0;
    (void)registered;
    pid = getpid();
    cached_pid.store(pid, std::memory_order_relaxed);
  }
  return pid;
}

bool is_executable_file(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool process_alive(pid_t pid) {
  if (pid <= 0) return false;
  int pidfd = open_pidfd(pid);
  if (pidfd < 0) return errno != ESRCH;
  bool ended = pidfd_readable(pidfd, 0);
  close(pidfd);
  return !ended;
}

ProcessHandle::~ProcessHandle() { release(); }

ProcessHandle::ProcessHandle(ProcessHandle&& other) noexcept
    : pid_(std::exchange(other.pid_, 0)),
      pidfd_(std::exchange(other.pidfd_, -1)),
      child_(std::exchange(other.child_, false)),
      ended_(std::exchange(other.ended_, false)),
      end_(std::exchange(other.end_, std::nullopt)) {}

ProcessHandle& ProcessHandle::operator=(ProcessHandle&& other) noexcept {
  if (this != &other) {
    release();
    pid_ = std::exchange(other.pid_, 0);
    pidfd_ = std::exchange(other.pidfd_, -1);
    child_ = std::exchange(other.child_, false);
    ended_ = std::exchange(other.ended_, false);
    end_ = std::exchange(other.end_, std::nullopt);
  }
  return *this;
}

int ProcessHandle::spawn(const std::vector<std::string>& argv, ProcessHandle& out) {
  if (argv.empty()) return EINVAL;
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int error = posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ);
  if (error != 0) return error;
  out.release();
  out.pid_ = pid;
  out.pidfd_ = open_pidfd(pid);
  out.child_ = true;
  return 0;
}

ProcessHandle ProcessHandle::watch(pid_t pid) {
  ProcessHandle handle;
  handle.pid_ = pid;
  handle.pidfd_ = open_pidfd(pid);
  if (handle.pidfd_ < 0) handle.ended_ = true;  // no such process any more
  return handle;
}

bool ProcessHandle::has_ended() {
  if (ended_ || pid_ <= 0) return true;
  if (child_) {
    int status = 0;
    pid_t rc;
    do rc = waitpid(pid_, &status, WNOHANG);
    while (rc < 0 && errno == EINTR);
    if (rc == 0) return false;
    ended_ = true;
    if (rc == pid_) {
      ProcessEnd how;
      if (WIFSIGNALED(status)) how.signal = WTERMSIG(status);
      else how.exit_status = WEXITSTATUS(status);
      end_ = how;
    }
    return true;
  }
  ended_ = pidfd_ < 0 || pidfd_readable(pidfd_, 0);
  return ended_;
}

bool ProcessHandle::wait_for_end(int timeout_ms) {
  if (has_ended()) return true;
  if (pidfd_ >= 0) {
    pidfd_readable(pidfd_, timeout_ms);
    return has_ended();
  }
  return false;
}

void ProcessHandle::kill_and_reap() {
  if (pid_ > 0 && !has_ended()) {
    ::kill(pid_, SIGKILL);
    wait_for_end(5000);
  }
}

void ProcessHandle::release() {
  if (pidfd_ >= 0) close(pidfd_);
  pidfd_ = -1;
  pid_ = 0;
  child_ = false;
  ended_ = false;
  end_.reset();
}

}  // namespace vornel::platform
