// Plan lengths along a three-dimensional chain, as the slope-break rules
// measure them: every length is the segment lengths summed one by one from
// its own start vertex, held in single precision.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vornel::toolkit {

// Measures each segment at most twice (once for the whole length, once more
// where the search reaches) and carries the sums along, so one cut costs a
// pass over the chain instead of a pass per vertex examined. Every value is
// the one a fresh walk over the vertices gives.
class ChainLengths {
public:
    // Vertices 0 .. last, stride 3.
    ChainLengths(std::span<const int32_t> vertices, int32_t last);

    const int32_t* vertex(int32_t index) const { return &vertices_[static_cast<size_t>(index) * 3]; }
    // Length of segment m (vertex m-1 to m).
    double segment(int32_t m);
    // Length from vertex 0 to vertex b.
    float from_start(int32_t b);
    // Length from vertex 0 to the last vertex.
    float whole() const { return static_cast<float>(total_); }
    // Length from vertex a to the last vertex, summed from a.
    float to_end(int32_t a);

private:
    void measure_to(int32_t m);

    std::span<const int32_t> vertices_;
    int32_t last_;
    double total_ = 0.0;
    std::vector<double> segment_{0.0};  // measured so far, from index 1
    std::vector<double> prefix_{0.0};
};

}  // namespace vornel::toolkit
