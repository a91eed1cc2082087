// The entity check of -E: whether an element's linkages carry one of the
// selected link values.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vornel::pellax {

// Walks the linkage area of a memory-form element. A database linkage
// (4 words, low byte 0) passes on the flag of its word 2, the low 16 bits
// of its mslink. A database user linkage (user id 3969 in word 2) passes
// on its word 4, likewise the low 16 bits of its mslink. Any other user
// data linkage passes on word `user_word` + 2 when `user_word` > 0.
bool entnum_check(std::span<const std::uint8_t> element, const std::vector<std::uint8_t>& flags,
                  int user_word);

}  // namespace vornel::pellax
