#pragma once
// Assembles a whole design file: the header element holding the control
// block image, the elements, and the end-of-design mark.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/dgnmake/description.hpp"

namespace vornel::dgnmake {

// Byte offsets of the control block values inside the header element.
inline constexpr std::size_t kSubunitsPerMasterOffset = 1112;
inline constexpr std::size_t kUorsPerSubunitOffset = 1116;
inline constexpr std::size_t kMasterNameOffset = 1120;
inline constexpr std::size_t kSubNameOffset = 1122;
inline constexpr std::size_t kGlobalOriginOffset = 1240;  // X, Y, Z doubles
inline constexpr std::size_t kHeaderElementBytes = 1536;

// The header element: type 9, level 8, 768 words.
std::vector<std::uint8_t> design_header_element(const DesignDescription& description);

// The complete file.
std::vector<std::uint8_t> build_design_file(const DesignDescription& description);

// Parses `text` and builds the file; throws DescriptionError.
std::vector<std::uint8_t> make_design_file(const std::string& text);

}  // namespace vornel::dgnmake
