#include "joiner/options/option_hooks.h"

namespace vornel::joiner {

void node_work(JoinRun&, const Node&) {}
void node_flags(JoinRun&, const Node&, std::int32_t) {}
void label_point_element(JoinRun&) {}
void capture_label_text(JoinRun&) {}
void join_point_flag(JoinRun&, const std::int32_t*) {}
void mismatch_flags(JoinRun&, const std::int32_t*) {}
void overshoot_flag(JoinRun&, std::int32_t, std::int32_t) {}
bool flip_chain(JoinRun& run, WriteReason reason) {
  // Whole pieces of a flush are cut from the front of the buffer; reversing
  // it would write the walk's end and keep its start, so a flushed chain is
  // written in the walk's direction.
  if (reason == WriteReason::flush || run.flip_elm != 1) return false;
  reverse_chain(run);
  return true;
}
void linear_parameters_and_label(JoinRun&, std::int32_t, std::int32_t) {}
void finish_nodes(JoinRun&) {}

}  // namespace vornel::joiner
