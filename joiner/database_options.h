// Options that name database tables and columns: they copy the driver's
// entity numbers and database name from the environment with the names.
#pragma once

#include "joiner/option_context.h"

namespace vornel::joiner {

Verdict read_BD(OptionContext& ctx);         // -BD  break tables
Verdict read_NV(OptionContext& ctx);         // -NV  compare a column's values
Verdict read_gdb(OptionContext& ctx);        // -gdb graphic group from a column
Verdict read_fFrToID(OptionContext& ctx);    // -fFrToID flip by from/to ids
Verdict read_fDbValue(OptionContext& ctx);   // -fDbValue flip by a column value
Verdict read_ID_N2L(OptionContext& ctx);     // -ID_N2L node ids to line ids
Verdict read_ID_L2N(OptionContext& ctx);     // -ID_L2N line ids to node ids
Verdict read_PN(OptionContext& ctx);         // -PN, -PNU node points and rows
Verdict read_XY(OptionContext& ctx);         // -XY linear parameters

}  // namespace vornel::joiner
