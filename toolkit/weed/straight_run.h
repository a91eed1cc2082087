// Recognises an exactly straight stretch of a chain while the tolerance
// weeder extends a chord over it.
#pragma once

#include <array>
#include <cstdint>

namespace vornel::toolkit {

// Tracks whether the vertices from an anchor onward form a straight run:
// all on one line, each strictly further along it than the one before.
// Over such a run every intermediate vertex has the anchor's slope and, seen
// from either end, the same bearing, so the weeder's offset and angle tests
// pass for all of them and need not be evaluated one by one.
class StraightRun {
public:
    // Starts a run at `anchor` (x, y at `anchor_vertex`).
    void restart(int32_t anchor, const int32_t* anchor_vertex);

    // Extends the run to vertex `index` (which must follow the run's end);
    // true while the anchor .. index is straight. Once broken, a run stays
    // broken until restarted.
    bool extend_to(int32_t index, const int32_t* vertex, const int32_t* previous);

private:
    int32_t end_ = -1;
    std::array<int64_t, 2> origin_{};
    std::array<int64_t, 2> direction_{};
    bool broken_ = true;
};

}  // namespace vornel::toolkit
