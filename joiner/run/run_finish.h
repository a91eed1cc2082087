// How a run ends: the normal finish, the early finish at the label limit,
// the error finish when an element's far end is not found, and the summary
// lines each of them prints.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

enum class SummaryVariant { normal, early, line_pass_error };

// Closes the design file when it is open.
void close_design(JoinRun& run);
// Detaches the database when attached, closes the design file, prints
// "\n\n" and frees the point table: the clean-up of the set-up failures.
void clean_up(JoinRun& run);
// Detaches the database when attached, closes the design file and frees the
// point table, printing nothing.
void release_run(JoinRun& run);

void print_summary(JoinRun& run, SummaryVariant variant);

[[noreturn]] void finish_run(JoinRun& run);
[[noreturn]] void finish_at_label_limit(JoinRun& run);
// status 16 (line passes) or 18 (ring pass).
[[noreturn]] void finish_after_error(JoinRun& run, int status);

}  // namespace vornel::joiner
