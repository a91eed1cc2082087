// Direction flips of written chains: compass, elevation, dangle, from/to
// identifiers and database values.
#include "joiner/options/option_hooks.h"

namespace vornel::joiner {

void note_dangle_candidate(JoinRun&, const Node&, std::int32_t) {}

bool flip_chain(JoinRun& run, WriteReason reason) {
  // Whole pieces of a flush are cut from the front of the buffer; reversing
  // it would write the walk's end and keep its start, so a flushed chain is
  // written in the walk's direction.
  if (reason == WriteReason::flush || run.flip_elm != 1) return false;
  reverse_chain(run);
  return true;
}

}  // namespace vornel::joiner
