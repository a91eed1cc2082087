// Choosing the chain segment that carries a label.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace vornel::toolkit::label {

// A label needs a segment of at least this many times its length.
inline constexpr float kFitFactor = 1.333f;
// Most vertices copied for the weeded search around a short segment.
inline constexpr int32_t kMaxSearchVertices = 1000;

// Read-only view of a chain of vertices with a stride of 2 or 3.
struct ChainView {
    std::span<const int32_t> values;
    int32_t count;
    int16_t stride;

    const int32_t* at(int32_t index) const { return &values[static_cast<size_t>(index) * stride]; }
    // Length of the segment index-1 -> index, in `dimension`.
    double segment_length(int32_t index, int16_t dimension) const;
};

// The segment a label sits on and the label's offset along it.
struct LabelSegment {
    std::array<int32_t, 3> start{};  // z is 0 in a two-dimensional chain
    std::array<int32_t, 3> end{};
    double length = 0.0;  // s
    double offset = 0.0;  // u
    int16_t code = 0;     // how it was chosen: 0 its own segment, 1-11 a neighbour
};

// The label at `offset` along segment end_index-1 -> end_index of `chain`.
// When that segment is shorter than kFitFactor x label_length, a segment
// that holds the label is looked for within one `share` of chain length on
// either side, then in a weeded copy of the stretch searched, and at last
// the longest segment met is taken.
LabelSegment choose_segment(const ChainView& chain, int32_t end_index, double offset, double label_length,
                            double share, int16_t dimension, int16_t debug);

}  // namespace vornel::toolkit::label
