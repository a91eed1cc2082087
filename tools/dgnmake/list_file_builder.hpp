#pragma once
// Builds an element list file from a text description:
//
//   file ID NAME             file specification (record type 2)
//   element ID BLOCK BYTE    element reference (record type 5)
//   raw TYPE WTF [WORD ...]  any record, words-to-follow written as given
//   end                      end of the list (record type 127)
//
// A header record always comes first. Throws DescriptionError.

#include <cstdint>
#include <string>
#include <vector>

namespace vornel::dgnmake {

inline constexpr int kListFileSpec = 2;
inline constexpr int kListElementRef = 5;
inline constexpr int kListEnd = 127;
inline constexpr int kListHeader = 1;

std::vector<std::uint8_t> make_list_file(const std::string& text);

}  // namespace vornel::dgnmake
