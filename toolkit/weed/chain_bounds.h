// The argument check every weeder makes before touching a chain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vornel::toolkit {

// True when vertices 0 .. last (stride `stride`) lie within the array;
// otherwise says so, naming the operation, and returns false.
bool chain_within_array(int32_t last, std::span<const int32_t> vertices, int stride, const char* operation);

}  // namespace vornel::toolkit
