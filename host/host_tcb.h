#pragma once
// The host's terminal control block, shared with its clients as a named
// object of 8912 bytes ("/dgnTcb%08x" with the host's process id).

#include "client/platform/shared_memory.h"
#include "host/design_file.h"

#include <cstdint>
#include <string>

namespace vornel::host {

class HostTcb {
 public:
  HostTcb() = default;
  ~HostTcb() { remove(); }
  HostTcb(const HostTcb&) = delete;
  HostTcb& operator=(const HostTcb&) = delete;

  // Creates the object (taking over a leftover of a dead host of the same
  // process id). 0 or an errno value.
  int create();
  // Removes the object; clients that have it mapped keep their view.
  void remove();

  // Sets the values that come from the design file's header.
  void load_header(const DesignHeader& header);

  // The IPC key a joining client wrote, cleared on reading; 0 when none.
  std::uint32_t take_join_key();

  const std::string& name() const { return memory_.name(); }
  std::span<std::byte> bytes() const { return memory_.bytes(); }

 private:
  platform::SharedMemory memory_;
};

}  // namespace vornel::host
