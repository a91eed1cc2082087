// Break-table rows: each written piece of a chain gets its own database row,
// a copy of the chain's row or a new row keyed back to it.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

void add_break_table_row(JoinRun& run);

}  // namespace vornel::joiner
