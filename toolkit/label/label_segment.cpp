#include "toolkit/label/label_segment.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "toolkit/geometry/distance.h"
#include "toolkit/weed/weed_data.h"

namespace vornel::toolkit::label {

double ChainView::segment_length(int32_t index, int16_t dimension) const {
    return distance(at(index - 1), at(index), dimension);
}

namespace {

constexpr float kWeedAngle = 2.5f;

// Result of a search on one side of the label.
struct SideSearch {
    bool found = false;
    int32_t end_index = 0;   // the candidate segment is end_index-1 -> end_index
    double length = 0.0;     // its length
    double distance = 0.0;   // back or fwd when the search stopped
    int32_t reached = 0;     // lowest (backward) or highest (forward) vertex reached
    int32_t longest_end = -1;
    double longest = 0.0;
};

void note_longest(SideSearch& side, double length, int32_t end_index) {
    if (side.longest_end < 0 || length > side.longest) {
        side.longest = length;
        side.longest_end = end_index;
    }
}

SideSearch search_backward(const ChainView& chain, int32_t end_index, double offset, double share, double fit,
                           int16_t dimension) {
    SideSearch side;
    side.distance = offset;
    side.reached = end_index - 1;
    for (int32_t m = end_index - 1; side.distance < share && m >= 1; --m) {
        const double t = chain.segment_length(m, dimension);
        side.distance += t;
        side.reached = m - 1;
        note_longest(side, t, m);
        if (t > fit) {
            side.found = true;
            side.end_index = m;
            side.length = t;
            break;
        }
    }
    return side;
}

SideSearch search_forward(const ChainView& chain, int32_t end_index, double segment, double label_length,
                          double share, double fit, int16_t dimension) {
    SideSearch side;
    side.distance = segment - label_length;
    side.reached = end_index;
    for (int32_t m = end_index; side.distance < share && m < chain.count - 1; ++m) {
        const double t = chain.segment_length(m + 1, dimension);
        side.distance += t;
        side.reached = m + 1;
        note_longest(side, t, m + 1);
        if (t > fit) {
            side.found = true;
            side.end_index = m + 1;
            side.length = t;
            break;
        }
    }
    return side;
}

LabelSegment segment_of(const ChainView& chain, int32_t end_index, double length, double offset, int16_t code) {
    LabelSegment s;
    const int32_t* p0 = chain.at(end_index - 1);
    const int32_t* p1 = chain.at(end_index);
    const bool has_z = chain.stride == 3;
    s.start = {p0[0], p0[1], has_z ? p0[2] : 0};
    s.end = {p1[0], p1[1], has_z ? p1[2] : 0};
    s.length = length;
    s.offset = offset;
    s.code = code;
    return s;
}

// Picks between the two sides: the nearer candidate, the backward one on a
// tie. Codes: both-backward, both-forward, only-backward, only-forward.
bool pick(const ChainView& chain, const SideSearch& back, const SideSearch& fwd, std::array<int16_t, 4> codes,
          LabelSegment& chosen) {
    if (back.found && fwd.found) {
        chosen = back.distance <= fwd.distance ? segment_of(chain, back.end_index, back.length, back.length, codes[0])
                                               : segment_of(chain, fwd.end_index, fwd.length, 0.0, codes[1]);
        return true;
    }
    if (back.found) {
        chosen = segment_of(chain, back.end_index, back.length, back.length, codes[2]);
        return true;
    }
    if (fwd.found) {
        chosen = segment_of(chain, fwd.end_index, fwd.length, 0.0, codes[3]);
        return true;
    }
    return false;
}

// Neither side holds the label: search a weeded copy of the stretch
// first..last, where the label lies `back` from its first vertex.
LabelSegment search_weeded(const ChainView& chain, int32_t first, int32_t last, double back, double label_length,
                           double share, double fit, int16_t dimension, int16_t debug) {
    last = std::min(last, first + kMaxSearchVertices - 1);
    std::vector<int32_t> copy;
    for (int32_t i = first; i <= last; ++i) {
        copy.insert(copy.end(), chain.at(i), chain.at(i) + chain.stride);
    }
    int32_t copy_last = last - first;
    if (dimension == 2 && chain.stride == 2) {
        float angle = kWeedAngle;
        int32_t in = 0, out = 0, zingers = 0;
        const double origin[2] = {0.0, 0.0};
        weed_data(copy, &copy_last, 0.0f, 0.0f, &angle, 0, &in, &out, 0, 0.0, &zingers, 1.0, origin, nullptr);
    }
    const ChainView weeded{copy, copy_last + 1, chain.stride};
    if (weeded.count < 2) return segment_of(chain, std::max(first, 1), chain.segment_length(std::max(first, 1), dimension), 0.0, 5);

    double walked = 0.0;
    int32_t end_index = weeded.count - 1;
    double before = 0.0;
    for (int32_t q = 1; q < weeded.count; ++q) {
        before = walked;
        walked += weeded.segment_length(q, dimension);
        if (walked >= back) {
            end_index = q;
            break;
        }
    }
    const double s = weeded.segment_length(end_index, dimension);
    LabelSegment chosen = segment_of(weeded, end_index, s, back - before, 5);
    if (s >= fit) return chosen;

    const SideSearch b = search_backward(weeded, end_index, chosen.offset, share, fit, dimension);
    const SideSearch f = search_forward(weeded, end_index, s, label_length, share, fit, dimension);
    if (pick(weeded, b, f, {7, 6, 9, 8}, chosen)) return chosen;
    if (b.longest_end >= 0 && b.longest > chosen.length) {
        chosen = segment_of(weeded, b.longest_end, b.longest, chosen.offset, 10);
    }
    if (f.longest_end >= 0 && f.longest > chosen.length) {
        chosen = segment_of(weeded, f.longest_end, f.longest, chosen.offset, 11);
    }
    if (debug) std::printf("\n weeded search - code %d", chosen.code);
    return chosen;
}

}  // namespace

LabelSegment choose_segment(const ChainView& chain, int32_t end_index, double offset, double label_length,
                            double share, int16_t dimension, int16_t debug) {
    const double s = chain.segment_length(end_index, dimension);
    const double fit = kFitFactor * label_length;
    if (!(fit > s)) return segment_of(chain, end_index, s, offset, 0);

    const SideSearch back = search_backward(chain, end_index, offset, share, fit, dimension);
    const SideSearch fwd = search_forward(chain, end_index, s, label_length, share, fit, dimension);
    if (debug) {
        std::printf("\n back search: found=%d dist=%lf  forward search: found=%d dist=%lf", back.found ? 1 : 0,
                    back.distance, fwd.found ? 1 : 0, fwd.distance);
    }
    LabelSegment chosen;
    if (pick(chain, back, fwd, {2, 1, 4, 3}, chosen)) return chosen;
    return search_weeded(chain, back.reached, fwd.reached, back.distance, label_length, share, fit, dimension,
                         debug);
}

}  // namespace vornel::toolkit::label
