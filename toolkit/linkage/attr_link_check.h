// Collecting linkages from elements into an attribute buffer without
// duplicates.
#pragma once

#include <cstdint>
#include <span>

namespace vornel::toolkit {

// Adds the linkages of `element` (an element record as bytes) to `buffer`,
// whose next free word is *next_free (2 for an empty buffer), and advances
// *next_free.
//   stacking_entity  0: every distinct database row is kept; > 0: for tables
//                    other than this one only the first linkage met is kept
//   entity_filter    0: all tables; else only linkages of that entity
//   user_id_filter   > 0: other user data linkages are kept only when their
//                    word 1 equals it
// Empty database linkages (entity or link value 0) are never collected.
// Returns the keep flag of the last linkage examined: 1 when it was new to
// the buffer, 0 when it was a duplicate, filtered out, or did not fit (which
// is reported); 0 when the element has no linkages. A *next_free below 2
// compares without adding anything.
int attr_link_check(std::span<const uint8_t> element, std::span<int16_t> buffer, int16_t* next_free,
                    int16_t stacking_entity, int32_t entity_filter, int32_t user_id_filter);

// The same with another attribute buffer in the place of the element.
int attr_link_check(std::span<const int16_t> source, std::span<int16_t> buffer, int16_t* next_free,
                    int16_t stacking_entity, int32_t entity_filter, int32_t user_id_filter);

}  // namespace vornel::toolkit
