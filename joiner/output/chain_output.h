// Chain output: weeding, slope-break pieces, the skip test and the placement
// of each piece, and what stays in the chain buffer after a write.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

enum class WriteReason {
  flush,   // the next element does not fit: whole pieces only, the tail stays
  break_,  // the next element failed the join test: restart at the node
  end      // the walk stopped
};

void write_chain(JoinRun& run, WriteReason reason);

// Reverses the chain buffer in place.
void reverse_chain(JoinRun& run);

// Moves the text labels beside the first segment of a chain (etak).
void move_etak_centroids(JoinRun& run, bool reversed);

}  // namespace vornel::joiner
