// The vertices an element contributes to a chain: its own, or stroked by the
// host for arcs, curves to stroke and B-spline curves.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

enum class VertexSource { element, stroked, unavailable };

// Fills run.current (type code, linepts, vertices, and with `start_element`
// the loop test) from the element in run.element at file position
// run.current.position. `unavailable` for an element whose vertices cannot
// be had (complex chains until their expansion is built).
VertexSource load_element_vertices(JoinRun& run, bool start_element);

}  // namespace vornel::joiner
