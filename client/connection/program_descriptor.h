#pragma once
// What the library knows of a program on the other end of a connection, or
// of itself: its state, process, exit status and end callback.

#include "client/platform/named_event.h"
#include "client/platform/process.h"

#include <functional>
#include <string>
#include <sys/types.h>

namespace vornel::connection {

enum ProgramState : int {
  kProgramRunning = 1,
  kProgramEnded = 255,
  kProgramRemoving = 254,
  kProgramToReap = -1,
};

struct ProgramDescriptor {
  std::string name;
  int state = kProgramRunning;
  pid_t pid = 0;
  int exit_status = 0;
  // Called once when the program is seen to end: (exit status, signal).
  std::function<void(int, int)> on_end;
  platform::ProcessHandle process;
  platform::NamedEvent send_event;  // set after every request posted to the program
  platform::NamedEvent get_event;
};

}  // namespace vornel::connection
