// Marking the linkages of an attribute buffer as information linkages.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// Sets the information bit (bit 15 of the header word) of every database
// linkage with a nonzero entity and link value and of every database user
// linkage in the buffer; other user data linkages are left alone. *out is
// set to 0.
void set_info(std::span<int16_t> buffer, int16_t* out);

}  // namespace vornel::toolkit
