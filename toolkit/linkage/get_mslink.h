// Looking up the link value (mslink) of an entity's linkage.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// Finds the first linkage of `entity` in an element record (memory form, as
// bytes). Returns 1 and writes its link value to *link_value, else returns 0;
// the out value is set to 0 first.
int get_mslink(int16_t entity, std::span<const uint8_t> element, int32_t* link_value);

// The same over the linkages of an attribute buffer; the out value is left
// alone when no linkage of the entity is found.
int get_mslink_attrib(int16_t entity, std::span<const int16_t> buffer, int32_t* link_value);

}  // namespace vornel::toolkit
