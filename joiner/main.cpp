// vornel, the joiner: reads its command line and environment into the run
// configuration and checks it.
#include <iostream>
#include <string_view>
#include <vector>

#include "joiner/command_line.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv, argv + argc);
  const auto outcome =
      vornel::joiner::configure_run(args, vornel::joiner::process_environment(), std::cout);
  std::cout.flush();
  if (const auto* stop = std::get_if<vornel::joiner::RunExit>(&outcome)) return stop->status;
  return 0;
}
