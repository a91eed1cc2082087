// The vertices an element contributes to a chain: its own, stroked by the
// host for arcs, curves to stroke and B-spline curves, or a complex chain's
// components joined.
#pragma once

#include "joiner/run/join_run.h"

namespace vornel::joiner {

enum class VertexSource { element, stroked, unavailable };

// Fills run.current (type code, linepts, vertices, and with `start_element`
// the loop test) from the element in run.element at file position
// run.current.position; complex chains are expanded from their components.
// `unavailable` for an element that yields no vertex.
VertexSource load_element_vertices(JoinRun& run, bool start_element);

}  // namespace vornel::joiner
