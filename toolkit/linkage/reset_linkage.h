// Rewriting an entity's linkage in place.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// At the first linkage of `entity` in a record (an element record as bytes,
// or an attribute buffer when its word 1 is zero or negative): when its link
// value equals *old_link and *new_link is nonzero, the new value is stored
// (for a database linkage *new_link is first raised by 2^24, and the caller's
// variable keeps the raised value); a nonzero new_entity replaces the entity
// number; modified 0 clears and 1 sets the linkage's information bit.
// Returns 1 when a linkage of the entity was found, else 0.
int reset_linkage(int16_t entity, std::span<uint8_t> record, const int32_t* old_link, int16_t new_entity,
                  int32_t* new_link, int16_t modified);

// The same on an attribute buffer held as words.
int reset_linkage(int16_t entity, std::span<int16_t> buffer, const int32_t* old_link, int16_t new_entity,
                  int32_t* new_link, int16_t modified);

}  // namespace vornel::toolkit
