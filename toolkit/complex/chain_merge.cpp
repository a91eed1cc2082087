#include "toolkit/complex/chain_merge.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "toolkit/geometry/intersect.h"

namespace vornel::toolkit::complex {

namespace {

double gap(const Vertex& a, const Vertex& b, int16_t dimension) {
    const double dx = static_cast<double>(a[0]) - b[0];
    const double dy = static_cast<double>(a[1]) - b[1];
    const double dz = dimension == 3 ? static_cast<double>(a[2]) - b[2] : 0.0;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void append_from(Vertices& chain, const Vertices& next, size_t first) {
    if (first < next.size()) chain.insert(chain.end(), next.begin() + static_cast<std::ptrdiff_t>(first), next.end());
}

int32_t half_sum(int32_t a, int32_t b) { return static_cast<int32_t>(a / 2.0 + b / 2.0); }

// Joins `next` onto `chain` where their ends do not meet.
void resolve_gap(Vertices& chain, Vertices& next, int16_t dimension, int16_t debug) {
    const Vertex chain_last = chain.back();
    const Vertex next_first = next.front();
    int16_t status = -1;
    Vertex point{0, 0, chain_last[2]};
    // Segments need two vertices each; a single point is joined like parallels.
    if (chain.size() >= 2 && next.size() >= 2) {
        intersect(chain_last.data(), chain[chain.size() - 2].data(), next_first.data(), next[1].data(),
                  point.data(), &status, debug);
        point[2] = chain_last[2];
    }
    if (debug) {
        std::printf("\n1A.x   =%ld,1A.y   =%ld\nintPt.x=%ld,intPt.y=%ld\n2A.x   =%ld,2A.y   =%ld\nint_status=%d\n",
                    static_cast<long>(chain_last[0]), static_cast<long>(chain_last[1]), static_cast<long>(point[0]),
                    static_cast<long>(point[1]), static_cast<long>(next_first[0]),
                    static_cast<long>(next_first[1]), status);
    }
    if (status < 0) {
        Vertex middle{half_sum(next_first[0], chain_last[0]), half_sum(next_first[1], chain_last[1]),
                      half_sum(next_first[2], chain_last[2])};
        if (dimension != 3) middle[2] = 0;
        if (middle != chain_last && middle != next_first) chain.push_back(middle);
        append_from(chain, next, 0);
    } else if (status == 0) {
        if (same_plan(point, chain[chain.size() - 2])) chain.pop_back();
        if (same_plan(point, next[1])) next.erase(next.begin());
        chain.pop_back();
        append_from(chain, next, 0);
    } else if (status == 10 || status == 20) {
        append_from(chain, next, 1);
    } else if (status == 1 || status == 2) {
        chain.pop_back();
        append_from(chain, next, 0);
    } else {  // 11, 12, 21, 22: both ends move to the intersection
        chain.back() = point;
        append_from(chain, next, 1);
    }
    if (debug) std::printf("\nLines V S RESOLVED");
}

void merge_second(Vertices& chain, Vertices& next, int16_t dimension, int16_t debug) {
    const auto reverse = [](Vertices& v) { std::reverse(v.begin(), v.end()); };
    if (same_plan(next.front(), chain.back()) || same_plan(next.back(), chain.back())) {
        if (debug) std::printf("\nLines 1 2 MATCH - L1 order is okay");
    } else if (same_plan(next.front(), chain.front()) || same_plan(next.back(), chain.front())) {
        if (debug) std::printf("\n Lines 1 2 MATCH Flip L1 -");
        reverse(chain);
    } else {
        if (debug) std::printf("\nLines 1 2 DON'T MATCH\nLack of endpoint coincidence - will evaluate to resolve");
        const double d[4] = {gap(next.front(), chain.back(), dimension), gap(next.back(), chain.front(), dimension),
                             gap(next.front(), chain.front(), dimension), gap(next.back(), chain.back(), dimension)};
        int nearest = 0;
        for (int i = 1; i < 4; ++i) {
            if (d[i] < d[nearest]) nearest = i;
        }
        if (nearest == 1) {
            reverse(chain);
            reverse(next);
        } else if (nearest == 2) {
            reverse(chain);
        } else if (nearest == 3) {
            reverse(next);
        }
        if (debug) std::printf("\nminL=%d,minD=%lf", nearest, d[nearest]);
    }
    if (same_plan(next.back(), chain.back()) && !same_plan(next.front(), chain.back())) reverse(next);
    if (same_plan(next.front(), chain.back())) {
        if (debug) std::printf("\n Lines 1 2 MATCH - Transfer");
        append_from(chain, next, 1);
    } else {
        if (debug) std::printf("\n Lines 1 2 DON'T MATCH - Resolve");
        resolve_gap(chain, next, dimension, debug);
    }
}

void merge_later(Vertices& chain, Vertices& next, int16_t dimension, int16_t debug) {
    if (same_plan(next.front(), chain.back())) {
        if (debug) std::printf("\nLines V S MATCH NF - NF");
        append_from(chain, next, 1);
    } else if (same_plan(next.back(), chain.back())) {
        if (debug) std::printf("\nLines V S MATCH NF - F");
        std::reverse(next.begin(), next.end());
        append_from(chain, next, 1);
    } else {
        if (debug) std::printf("\nLines V S DON'T MATCH\nLack of endpoint coincidence - will resolve");
        if (gap(next.front(), chain.back(), dimension) > gap(next.back(), chain.back(), dimension)) {
            std::reverse(next.begin(), next.end());
        }
        resolve_gap(chain, next, dimension, debug);
    }
}

}  // namespace

void merge_component(Vertices& chain, Vertices next, int ordinal, int16_t dimension, int16_t debug) {
    if (next.empty()) return;
    if (ordinal <= 1 || chain.empty()) {
        chain = std::move(next);
    } else if (ordinal == 2) {
        merge_second(chain, next, dimension, debug);
    } else {
        merge_later(chain, next, dimension, debug);
    }
}

}  // namespace vornel::toolkit::complex
