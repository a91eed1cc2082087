// Option values with a syntax of their own: the level code of -L, the
// symbology codes of -S, the element type list of -e, the label parameters of
// -label, the slope-break intervals of -B, the node linkage of -PN and the
// text presets of -SH.
#pragma once

#include "joiner/option_context.h"

namespace vornel::joiner {

Verdict read_level_code(OptionContext& ctx);       // -L
Verdict read_symbology(OptionContext& ctx);        // -S
Verdict read_element_types(OptionContext& ctx);    // -e
Verdict read_label(OptionContext& ctx);            // -label
Verdict read_break_interval(OptionContext& ctx);   // -B, -BC

// node_link and node_link_words from cfg.linktype and cfg.nodeEnt.
void set_node_linkage(RunConfig& cfg);
// text_node_params and text_sym for text and text node centroids.
void preset_centroid_text(RunConfig& cfg);

}  // namespace vornel::joiner
