// Text labels placed along a chain, or at a point.
#pragma once

#include <cstdint>
#include <span>

#include "client/operations/operations.h"

namespace vornel::toolkit {

// Label types: the labels' linkages become information linkages, or the
// labels get none.
inline constexpr int32_t kLabelInfoLinkages = -1;
inline constexpr int32_t kLabelNoLinkages = -2;

// Places `text` along the two-dimensional chain vertices[0 .. count-1]: one
// label per `interval` of its length (0: one label), each centred in its
// share, turned to its segment and kept readable, pushed off the line by the
// justification, and moved to a neighbouring segment when its own is too
// short. The text parameter record's first size is the character height, its
// second the character width; its character count is set here. A chain that
// is one point (or two identical vertices) gets one point label. Chains
// shorter than min_length get none. mode_pair: a graphic group of 0 sets the
// placement mode to 2. label_type kLabelInfoLinkages / kLabelNoLinkages
// change the linkages; the caller's buffer is never changed. element_type
// 17 or negative places point labels at the point itself with the angle
// offset. With debug, the text symbology's color is set to the code of the
// segment choice before each label.
// Returns the number of labels planned (1 for a point label or a chain below
// the minimum length), or 0 when the last placement failed or the chain is
// not two-dimensional.
int16_t elm_label(const char* text, std::span<const int32_t> vertices, int16_t count, int16_t dimension,
                  int32_t min_length, int32_t interval, TextParameters* parameters, TextSymbology* symbology,
                  int16_t level, int16_t* mode_pair, int32_t label_type, double angle_offset,
                  const int32_t* origin_offset, std::span<const int16_t> attributes, int16_t debug,
                  double flip_tolerance, int16_t element_type);

// The same for a three-dimensional chain (stride 3), with these differences:
// the labels are spaced by the chain's length in plan; a point label is one
// vertex only and always sits beside the point, turned by the angle offset;
// the placement mode pair becomes (2, 0); the segment search uses its copy
// unweeded. Each text is turned about z and sits at the elevation of the
// line under it (a point label at the point's). Returns 0 for a chain that
// is not three-dimensional.
int16_t elm_label3d(const char* text, std::span<const int32_t> vertices, int16_t count, int16_t dimension,
                    int32_t min_length, int32_t interval, TextParameters* parameters, TextSymbology* symbology,
                    int16_t level, int16_t* mode_pair, int32_t label_type, double angle_offset,
                    const int32_t* origin_offset, std::span<const int16_t> attributes, int16_t debug,
                    double flip_tolerance);

}  // namespace vornel::toolkit
