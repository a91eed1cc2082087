// The places where the option work of flips, flags, node rows, labels and
// linear parameters joins the walk and the chain output. Each is one call
// the engine makes at a fixed place; the work lives in the file of its kind:
// direction_flip, diagnostic_flags, node_work, labels, linear_parameters.
#pragma once

#include <cstdint>
#include <string>

#include "joiner/output/chain_output.h"
#include "joiner/run/join_run.h"
#include "joiner/run/point_table.h"

namespace vornel::joiner {

// direction_flip.cpp
// For every record of a processed node of the first line pass, before its
// chain starts: a dangling record becomes the dangle-flip candidate.
void note_dangle_candidate(JoinRun& run, const Node& node, std::int32_t record);
// Per written piece of the line passes; returns whether it reversed the
// chain buffer.
bool flip_chain(JoinRun& run, WriteReason reason);

// diagnostic_flags.cpp
// For every record of a processed node: dangle and multi-join circles.
void node_flags(JoinRun& run, const Node& node, std::int32_t record);
// A candidate passed the join test and join flags are on.
void join_point_flag(JoinRun& run, const std::int32_t* node_point);
// A candidate failed the join test: the attribute value, level and
// symbology change flags; `candidate_value` is the candidate's attribute value.
void mismatch_flags(JoinRun& run, const std::int32_t* node_point, const std::string& candidate_value);
// Per written piece of the first line pass, in chain output order.
void overshoot_flag(JoinRun& run, std::int32_t start, std::int32_t last);

// node_work.cpp
// Before any chain starts at a node of the second line pass.
void node_work(JoinRun& run, const Node& node);
// Node rows still owed at the finish.
void finish_nodes(JoinRun& run);

// labels.cpp
// A point element met at a chain start, when labels are on.
void label_point_element(JoinRun& run);
// The label text of a chain's first element.
void capture_label_text(JoinRun& run);
// Per piece chain output handles, before its skip test.
void label_piece(JoinRun& run, std::int32_t start, std::int32_t last, WriteReason reason);

// linear_parameters.cpp
// Per piece chain output handles, when linear parameters are on.
void write_linear_parameters(JoinRun& run, std::int32_t start, std::int32_t last);

}  // namespace vornel::joiner
