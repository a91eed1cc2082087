#pragma once
// The host's terminal control block (TCB): a shared object of 8912 bytes.
// Offsets the client reads or writes directly; the rest of the layout is the
// host's, published through the TCB variable table in dgnhost.rsc.

#include <cstddef>

namespace vornel::tcb {

inline constexpr std::size_t kBytes = 8912;
inline constexpr std::size_t kActiveClass = 1414;       // 16-bit, low 4 bits
inline constexpr std::size_t kActiveSymbology = 1416;   // 32-bit: style 0-2, weight 3-7, color 8-15
inline constexpr std::size_t kDimension = 4072;         // 16-bit, 3 for a 3-D file
inline constexpr std::size_t kIpcKey = 5168;            // 32-bit, written by a joining client
inline constexpr std::size_t kLineStyle = 7776;         // 32-bit active user-defined line style
inline constexpr std::size_t kHostProcessId = 8904;     // 32-bit, so joining clients can watch the host

}  // namespace vornel::tcb
