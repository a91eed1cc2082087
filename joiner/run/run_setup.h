// Run set-up: opening the design file through the host, the TCB values, the
// conversion of every size from master units to UORs, the flag presets and
// the database columns later stages read.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

// Converts the sizes of `cfg` in place and fills the derived values of
// `values` from values.uor_fact; prints the stroking tolerance lines.
void convert_sizes(RunConfig& cfg, SetupValues& values, std::ostream& out);

// The eight flag symbology presets.
void set_flag_presets(SetupValues& values);

// Opens the design file, reads the TCB values, converts the sizes and, when
// an option needs it, attaches the database and finds the columns. A failure
// prints its message, cleans up and throws RunEnd.
void set_up_run(JoinRun& run);

// Position (from 1) of the first of `names` (`count` slots of `width` bytes)
// whose leading characters equal `wanted`; with `whole`, the name must match
// entirely. 0 when none does.
int find_column(const char* names, int width, int count, const char* wanted, bool whole);

}  // namespace vornel::joiner
