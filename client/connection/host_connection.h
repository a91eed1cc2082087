#pragma once
// The library's connection to the design host: finding or starting the host,
// the request/reply exchange, and closing. All of it runs on the caller's
// thread; the library holds one connection at a time.

#include "client/connection/message_queue.h"
#include "client/connection/program_descriptor.h"
#include "client/connection/request_record.h"
#include "client/platform/shared_memory.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vornel::connection {

inline constexpr int kReplyWaitSeconds = 1200;
// While waiting, the host's process is looked at this often, so a host that
// died is noticed at once rather than after the whole wait.
inline constexpr int kWatchSliceMs = 100;

struct ConnectionState {
  platform::SharedMemory tcb;
  std::string tcb_name;
  std::optional<ProgramDescriptor> own;
  std::optional<ProgramDescriptor> host;
  MessageQueue queue;
  int debug_mode = 0;
  int translation_mode = 0;
  bool host_ended = false;
  bool data_may_be_cached = false;
  bool open = false;
  std::string task_name;
};

// The library's connection state.
ConnectionState& connection_state();

// The task name sent with the connect request; defaults to the program's argv[0].
void set_task_name(std::string_view name);

// Attaches to the queue of MSGKEY, joins the host whose TCB TCBKEY names, or
// starts dgnhost with `design_file`. When the started host has opened the
// file itself, `design_file` is emptied. Returns 0 or a status; on failure
// everything set up is undone.
int connect_host(std::string& design_file);

// Sends a request and waits for its reply (into `reply`, or into an internal
// buffer of 8232 bytes when `reply` is empty). Returns the reply's status,
// a transport status, or 925 when no reply came.
int send_crc(RequestRecord& request, std::span<std::byte> reply, bool no_wait);

// Waits for the host to end after it announced its exit.
void wait_for_host_end();
// Closes the queue, removes the descriptors, unmaps the TCB.
void close_connection();
// Undoes a failed start: a started host is killed, then close_connection().
void abandon_connection();

// Maps the TCB object `name`: 0, kNoTcbName or kOutOfMemory.
int map_tcb(const char* name);
std::span<std::byte> tcb_bytes();

// Where dgnhost is: the current directory, then the MS_EXE directories.
std::optional<std::string> locate_host_program();
// The host's argument list as the library starts it.
std::vector<std::string> host_command(const std::string& program, std::string_view task,
                                      std::string_view design_file, const char* cache);

}  // namespace vornel::connection
