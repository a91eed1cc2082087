#pragma once
// Names of the shared objects of one message queue and of a program's
// process events, formatted as the host expects them.

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace vornel::connection {

inline std::string format_name(const char* format, unsigned long a, unsigned b = 0) {
  char name[64];
  std::snprintf(name, sizeof name, format, a, b);
  return name;
}

inline std::string queue_memory_name(std::uint32_t key) { return format_name("/qMem%08lx", key); }
inline std::string queue_mutex_name(std::uint32_t key) { return format_name("/qMtex%08lx", key); }
inline std::string queue_event_name(std::uint32_t key, std::int32_t id) {
  return format_name("/qEvnt%08lx_%02x", key, static_cast<unsigned>(id));
}
// The host's send event (set after every request) and get event of a client.
inline std::string send_event_name(pid_t pid) { return format_name("/p2Event%08lx", static_cast<unsigned long>(pid)); }
inline std::string get_event_name(pid_t pid) { return format_name("/p1Event%08lx", static_cast<unsigned long>(pid)); }

}  // namespace vornel::connection
