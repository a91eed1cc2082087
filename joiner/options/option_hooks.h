// The places where the option work of flips, flags, node rows, labels and
// linear parameters joins the walk and the chain output. Each is one call
// the engine makes at a fixed place; those not built yet do nothing.
#pragma once

#include "joiner/output/chain_output.h"
#include "joiner/run/join_run.h"
#include "joiner/run/point_table.h"

namespace vornel::joiner {

// Before any chain starts at a node of the second line pass.
void node_work(JoinRun& run, const Node& node);
// For every record of a processed node: dangle and multi-join circles, and
// the dangle-flip check.
void node_flags(JoinRun& run, const Node& node, std::int32_t record);
// A point element met at a chain start, when labels are on.
void label_point_element(JoinRun& run);
// The label text of a chain's first element.
void capture_label_text(JoinRun& run);
// A candidate passed the join test and join flags are on.
void join_point_flag(JoinRun& run, const std::int32_t* node_point);
// A candidate failed the join test: the level and symbology change flags.
void mismatch_flags(JoinRun& run, const std::int32_t* node_point);
// Per written piece, in chain output order.
void overshoot_flag(JoinRun& run, std::int32_t start, std::int32_t last);
// A chain whose first element was appended reversed is written in that
// element's own direction; the compass, elevation, dangle and database flips
// join here.
// Returns whether it reversed the chain buffer.
bool flip_chain(JoinRun& run, WriteReason reason);
void linear_parameters_and_label(JoinRun& run, std::int32_t start, std::int32_t last);
// Node rows still owed at the finish.
void finish_nodes(JoinRun& run);

}  // namespace vornel::joiner
