// Placing one diagnostic flag: a circle or ellipse on the flag's level,
// with its axes and symbology, counted for the summary.
#pragma once

#include <cstdint>

#include "client/operations/operations.h"
#include "joiner/options/flag_state.h"
#include "joiner/run/join_run.h"

namespace vornel::joiner {

// Places a flag of `kind` centred at `centre` (X, Y and, in 3-D, Z in UOR)
// and raises its counter. `symbology` replaces the kind's own (the node
// symbology of multiple-node flags).
void place_flag(JoinRun& run, FlagKind kind, const std::int32_t* centre,
                const Symbology* symbology = nullptr);

}  // namespace vornel::joiner
