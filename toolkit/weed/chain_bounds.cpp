#include "toolkit/weed/chain_bounds.h"

#include <cstdio>

namespace vornel::toolkit {

bool chain_within_array(int32_t last, std::span<const int32_t> vertices, int stride, const char* operation) {
    const size_t capacity = vertices.size() / static_cast<size_t>(stride);
    if (static_cast<int64_t>(last) + 1 <= static_cast<int64_t>(capacity)) return true;
    std::printf("\n%s asked for %ld vertices of an array holding %ld - chain left unchanged\n", operation,
                static_cast<long>(last) + 1, static_cast<long>(capacity));
    return false;
}

}  // namespace vornel::toolkit
