// vornel, the joiner: reads its command line and environment into the run
// configuration, sets the run up through the design host, loads the sorted
// point list and joins the linework.
#include <iostream>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "joiner/command_line.h"
#include "joiner/console_print.h"
#include "joiner/engine/join_engine.h"
#include "joiner/run/run_finish.h"
#include "joiner/run/run_setup.h"

namespace {

using namespace vornel::joiner;

constexpr int kOutOfMemory = 5;

[[noreturn]] void fail_load(JoinRun& run, int status) {
  release_run(run);
  throw RunEnd{status};
}

void allocate_table(JoinRun& run) {
  const RunConfig& cfg = run.cfg;
  const bool node_links = cfg.node_opt || cfg.id_n2l || cfg.id_l2n;
  try {
    run.table.allocate(cfg.dimen, cfg.maxverts, node_links);
  } catch (const std::bad_alloc&) {
    print(run.out, "\nInsufficient memory to allocate space for pts(%ld)", static_cast<long>(cfg.maxverts));
    run.out.flush();
    throw RunEnd{kOutOfMemory};
  }
}

void load_table(JoinRun& run) {
  std::int64_t failed = 0;
  switch (run.table.load(run.cfg.ptsname.c_str(), run.out, failed)) {
    case PointTable::LoadResult::loaded:
      return;
    case PointTable::LoadResult::cannot_open:
      print(run.out, "\nerror opening %s", run.cfg.ptsname.c_str());
      fail_load(run, 13);
    case PointTable::LoadResult::too_short:
      print(run.out, "\nerror reading %s at line %ld", run.cfg.ptsname.c_str(), static_cast<long>(failed));
      fail_load(run, 14);
  }
}

int join(RunConfig& cfg) {
  auto run = std::make_unique<JoinRun>(cfg, std::cout);
  try {
    allocate_table(*run);
    set_up_run(*run);
    load_table(*run);
    run_join_passes(*run);
    finish_run(*run);
  } catch (const RunEnd& end) {
    // The early exits of the walk leave without the finish; the host still
    // gets its file closed so no edit is left pending.
    close_design(*run);
    std::cout.flush();
    return end.status;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv, argv + argc);
  auto outcome = configure_run(args, process_environment(), std::cout);
  std::cout.flush();
  if (const auto* stop = std::get_if<RunExit>(&outcome)) return stop->status;
  return join(std::get<RunConfig>(outcome));
}
