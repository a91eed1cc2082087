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

// Reads the element at a file position into the element buffer and returns
// the read status. `kept_for_chain_start`: a chain starts at this position
// next, and its start takes the element from the buffer without reading it
// again.
std::int16_t read_element(JoinRun& run, std::int32_t position, bool kept_for_chain_start = false);

}  // namespace vornel::joiner
