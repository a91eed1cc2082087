#pragma once
// Reads the text description of a design file.
//
//   dimension 2|3
//   units SUBUNITS_PER_MASTER UORS_PER_SUBUNIT [MASTER SUB]
//   origin X Y [Z]
//   KIND [key=value | flag ...] [: numbers | "text"] [{]
//   }
//
// See tools/dgntool/README.md for the kinds and keys.

#include <string_view>

#include "tools/dgnmake/description.hpp"

namespace vornel::dgnmake {

// Throws DescriptionError naming the line of the first fault.
DesignDescription parse_design_description(std::string_view text);

}  // namespace vornel::dgnmake
