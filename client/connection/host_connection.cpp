#include "client/connection/host_connection.h"

#include "client/connection/object_names.h"
#include "client/connection/stale_objects.h"
#include "client/connection/status_codes.h"
#include "client/connection/tcb_layout.h"
#include "client/platform/process.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <errno.h>

namespace vornel::connection {

namespace {

using Clock = std::chrono::steady_clock;

int env_int(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::atoi(value) : 0;
}

std::uint32_t env_key(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10)) : 0;
}

ProgramDescriptor& own_descriptor() {
  ConnectionState& s = connection_state();
  if (!s.own) {
    s.own.emplace();
    s.own->name = s.task_name;
    s.own->pid = platform::current_process_id();
  }
  return *s.own;
}

// Prints how the host ended and remembers that it did.
void host_ended_callback(int exit_status, int signal) {
  if (signal != 0) {
    std::printf("Design host terminated due to signal of %d\n", signal);
  } else if (exit_status + 768 > 900 && exit_status + 768 < 950) {
    std::printf("Design host terminated with status of %d\n", exit_status + 768);
  } else if (exit_status != 0) {
    std::printf("Design host terminated with status of %d\n", exit_status);
  }
  std::fflush(stdout);
  connection_state().host_ended = true;
}

ProgramDescriptor& make_host_descriptor() {
  ConnectionState& s = connection_state();
  s.host.emplace();
  s.host->name = "dgnhost";
  s.host->on_end = host_ended_callback;
  return *s.host;
}

// The process events of the host descriptor, named with our process id.
void create_process_events(ProgramDescriptor& host) {
  pid_t self = platform::current_process_id();
  platform::NamedEvent::create(send_event_name(self), host.send_event);
  platform::NamedEvent::create(get_event_name(self), host.get_event);
}

void remove_process_events(ProgramDescriptor& host) {
  host.send_event.close();
  host.get_event.close();
  pid_t self = platform::current_process_id();
  platform::NamedEvent::remove(send_event_name(self));
  platform::NamedEvent::remove(get_event_name(self));
}

// Handler of a program whose process has ended.
void program_ended(ProgramDescriptor& program) {
  if (program.state == kProgramEnded) return;
  program.state = kProgramEnded;
  int signal = 0;
  if (auto end = program.process.end()) {
    program.exit_status = end->exit_status;
    signal = end->signal;
  }
  if (program.on_end) program.on_end(program.exit_status, signal);
}

// True when the host has been seen to end (its handler has then run).
bool host_has_ended() {
  ConnectionState& s = connection_state();
  if (!s.host) return false;
  if (s.host->state == kProgramEnded) return true;
  if (s.host->process.valid() && s.host->process.has_ended()) {
    program_ended(*s.host);
    return true;
  }
  return false;
}

// Waits for a message of `type`, watching the host between short slices.
// limit_s <= 0 waits without limit. Returns 0 or the last take status.
int wait_message(std::span<std::byte> buffer, std::int32_t type, int limit_s) {
  ConnectionState& s = connection_state();
  const auto start = Clock::now();
  const auto deadline = limit_s > 0 ? start + std::chrono::seconds(limit_s) : Clock::time_point::max();
  const auto slice = std::chrono::milliseconds(kWatchSliceMs);
  auto next_watch = start + slice;
  int result = s.queue.take(buffer, type, nullptr);
  while (result == status::kNoMessage) {
    auto now = Clock::now();
    if (now >= next_watch) {
      if (host_has_ended()) return s.queue.take(buffer, type, nullptr);  // a reply posted just before the end
      next_watch = now + slice;
    }
    if (now >= deadline) return result;
    const platform::NamedEvent* events[2] = {&s.queue.own_event(), nullptr};
    std::size_t count = 1;
    if (s.host && s.host->get_event.valid()) events[count++] = &s.host->get_event;
    auto wait = std::min<Clock::duration>(deadline - now, next_watch - now);
    int which = platform::wait_any(std::span(events, count), std::chrono::duration_cast<std::chrono::microseconds>(wait));
    if (which == 1) s.host->get_event.reset();  // a signal from the host: nothing to do yet
    // Only a set own event can mean a message; the mutex is left alone otherwise.
    if (s.queue.own_event().is_set()) result = s.queue.take(buffer, type, nullptr);
  }
  return result;
}

// The host's process id as the host published it in its TCB.
pid_t host_pid_from_tcb() {
  return static_cast<pid_t>(wire::load<std::int32_t>(tcb_bytes(), tcb::kHostProcessId));
}

int connect_request() {
  ConnectionState& s = connection_state();
  RequestRecord request(kConnectRequest, 128);
  request.put_text(16, 128, s.task_name);
  return s.queue.post(request.bytes(), nullptr);
}

int create_own_queue() {
  ConnectionState& s = connection_state();
  const auto pid = static_cast<std::uint32_t>(platform::current_process_id());
  int result = status::kNoFreeKey;
  for (std::uint32_t n = 1; n <= 128; ++n) {
    result = MessageQueue::create(pid + 0x10000u * n, s.queue);
    if (result != status::kKeyHeld) break;
  }
  return result;
}

int join_running_host() {
  ConnectionState& s = connection_state();
  ProgramDescriptor& host = make_host_descriptor();
  host.pid = host_pid_from_tcb();
  if (host.pid > 0) host.process = platform::ProcessHandle::watch(host.pid);
  create_process_events(host);
  wire::store(tcb_bytes(), tcb::kIpcKey, static_cast<std::int32_t>(s.queue.key()));
  ReplyBuffer reply{};
  if (wait_message(reply, kReplyType, kReplyWaitSeconds) != 0)
    return host_has_ended() ? status::kCommunication : status::kHostTimedOut;
  return 0;
}

int start_host(std::string& design_file) {
  ConnectionState& s = connection_state();
  if (design_file.empty()) return status::kNoDesignFileOpen;
  std::optional<std::string> program = locate_host_program();
  if (!program) return status::kCouldNotExecHost;

  // The child finds its queue through MSGKEY; our own value is put back
  // afterwards so that a later open does not try the closed queue.
  const char* previous = std::getenv("MSGKEY");
  std::string saved = previous != nullptr ? previous : "";
  setenv("MSGKEY", std::to_string(s.queue.key()).c_str(), 1);
  ProgramDescriptor& host = make_host_descriptor();
  int error = platform::ProcessHandle::spawn(
      host_command(*program, s.task_name, design_file, std::getenv("MS_CACH")), host.process);
  if (previous != nullptr) setenv("MSGKEY", saved.c_str(), 1);
  else unsetenv("MSGKEY");
  if (error != 0) {
    std::printf("Unable to start child process\n");
    return status::kCouldNotExecHost;
  }
  host.pid = host.process.pid();
  create_process_events(host);

  ReplyBuffer reply{};
  if (wait_message(reply, kReplyType, kReplyWaitSeconds) != 0)
    return host_has_ended() ? status::kCommunication : status::kHostTimedOut;
  if (int result = reply_status(reply); result != 0) return result;
  std::string tcb_name(wire::load_text(reply, kReplyDataOffset, kReplyBufferBytes - kReplyDataOffset));
  if (int result = map_tcb(tcb_name.c_str()); result != 0) {
    std::printf("Unable to create TCB, errno = %d\n", result);
    return result;
  }
  design_file.clear();
  return 0;
}

}  // namespace

ConnectionState& connection_state() {
  static ConnectionState state = [] {
    ConnectionState initial;
    initial.task_name = program_invocation_name != nullptr ? program_invocation_name : "";
    return initial;
  }();
  return state;
}

void set_task_name(std::string_view name) {
  connection_state().task_name = std::string(name);
  if (connection_state().own) connection_state().own->name = std::string(name);
}

std::span<std::byte> tcb_bytes() { return connection_state().tcb.bytes(); }

int map_tcb(const char* name) {
  ConnectionState& s = connection_state();
  if (name == nullptr || *name == '\0') return status::kNoTcbName;
  int error = platform::SharedMemory::open(name, tcb::kBytes, s.tcb);
  if (error == ENOENT || error == EACCES) return status::kNoTcbName;
  if (error != 0) {
    std::printf("Could not mapViewOfFile for handle 0x%0x, mapName %s, error %d\n", 0u, name, error);
    return status::kOutOfMemory;
  }
  s.tcb_name = name;
  return 0;
}

std::optional<std::string> locate_host_program() {
  if (platform::is_executable_file("./dgnhost")) return std::string("./dgnhost");
  const char* list = std::getenv("MS_EXE");
  std::string_view rest = list != nullptr ? list : "";
  while (!rest.empty()) {
    std::size_t cut = rest.find(';');
    std::string dir(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    if (dir.empty()) continue;
    if (dir.back() != '/') dir.push_back('/');
    if (platform::is_executable_file(dir + "dgnhost")) return dir + "dgnhost";
  }
  return std::nullopt;
}

std::vector<std::string> host_command(const std::string& program, std::string_view task,
                                      std::string_view design_file, const char* cache) {
  std::vector<std::string> argv{program, "-client", std::string(task), std::string(design_file)};
  if (cache != nullptr) argv.push_back(std::string("-c") + cache);
  return argv;
}

int connect_host(std::string& design_file) {
  ConnectionState& s = connection_state();
  s.debug_mode = env_int("MS_DEBUG");
  s.host_ended = false;
  const std::uint32_t key = env_key("MSGKEY");
  remove_stale_objects();
  own_descriptor();

  int result = 0;
  if (key != 0 && MessageQueue::attach(key, s.queue) == 0) {
    // Started by (or beside) a running host: its TCB is named by TCBKEY.
    ProgramDescriptor& host = make_host_descriptor();
    create_process_events(host);
    result = map_tcb(std::getenv("TCBKEY"));
    if (result != 0) {
      std::printf("Unable to create TCB, errno = %d\n", result);
    } else {
      host.pid = host_pid_from_tcb();
      if (host.pid > 0) host.process = platform::ProcessHandle::watch(host.pid);
    }
  } else {
    result = create_own_queue();
    if (result != 0) {
      std::printf("Could not create msg queue, error=%d\n", result);
      result = status::kIndfpiInitialization;
    } else if ((result = connect_request()) == 0) {
      result = map_tcb(std::getenv("TCBKEY")) == 0 ? join_running_host() : start_host(design_file);
    }
  }
  std::fflush(stdout);
  if (result != 0) abandon_connection();
  return result;
}

int send_crc(RequestRecord& request, std::span<std::byte> reply, bool no_wait) {
  ConnectionState& s = connection_state();
  if (!s.queue.attached()) return status::kNoDesignFileOpen;
  s.data_may_be_cached = true;
  request.put<std::int32_t>(0, kRequestType);
  platform::NamedEvent* send_event = s.host ? &s.host->send_event : nullptr;
  if (int result = s.queue.post(request.bytes(), send_event); result != 0) return result;

  ReplyBuffer internal;
  std::span<std::byte> buffer = reply.empty() ? std::span<std::byte>(internal) : reply;
  const bool unlimited = no_wait || (s.debug_mode & 2) != 0;
  if (wait_message(buffer, kReplyType, unlimited ? 0 : kReplyWaitSeconds) != 0) return status::kCommunication;
  return reply_status(buffer);
}

void wait_for_host_end() {
  ConnectionState& s = connection_state();
  if (!s.host) return;
  // A host that announced its exit gets a generous but bounded time to go.
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  ReplyBuffer discard;
  while (!host_has_ended() && Clock::now() < deadline) {
    if (s.queue.take(discard, 0, nullptr) == 0) continue;  // service what is still queued
    s.host->process.wait_for_end(kWatchSliceMs);
  }
  if (!host_has_ended() && s.host->process.is_child()) {
    s.host->process.kill_and_reap();
    s.host->state = kProgramEnded;
  }
}

void close_connection() {
  ConnectionState& s = connection_state();
  if (s.host) {
    // A host that died cannot remove its own TCB object.
    if (s.host->state == kProgramEnded && !s.tcb_name.empty())
      platform::SharedMemory::remove(s.tcb_name);
    remove_process_events(*s.host);
    s.host.reset();
  }
  s.queue.detach();
  s.own.reset();
  s.tcb.close();
  s.tcb_name.clear();
}

void abandon_connection() {
  ConnectionState& s = connection_state();
  if (s.host && s.host->process.is_child()) {
    // A host that refused the file ends by itself and cleans up after it;
    // one that does not is stopped.
    if (!s.host->process.wait_for_end(2000)) s.host->process.kill_and_reap();
    s.host->state = kProgramEnded;
  }
  close_connection();
}

}  // namespace vornel::connection
