// Writes dgnhost.rsc, the resource file that carries the host's TCB variable
// table to the client library. Run at build time: dgnhost_rsc OUTPUT.

#include "client/session/resource_file.h"
#include "host/tcb_variables.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dgnhost_rsc OUTPUT\n");
    return 2;
  }
  using namespace vornel;
  const session::Resource resources[] = {
      {session::kTcbVariableResourceType, 1, host::tcb_variable_resource()}};
  if (!session::write_resource_file(argv[1], resources)) {
    std::fprintf(stderr, "dgnhost_rsc: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
