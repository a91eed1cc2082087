// The join engine: the line passes and the ring pass over the point table.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

// Runs line pass 1 (when first_pass is 1), line pass 2 and the ring pass.
void run_join_passes(JoinRun& run);

// One line pass over the whole table.
void scan_nodes(JoinRun& run, Pass pass);
// The ring pass.
void walk_rings(JoinRun& run);

}  // namespace vornel::joiner
