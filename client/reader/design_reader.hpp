#pragma once
// The direct design-file reader: selection criteria (dfrset), scan or direct
// mode (search) and one element per call (reqele), in memory form.
//
// One reader per process. It opens the design file read-only, never writes
// to it, and runs the host flush hook before it opens or reads.

#include <cstdint>

namespace vornel::client {

// Status codes of reqele.
inline constexpr std::int16_t kReqeleOk = 0;
inline constexpr std::int16_t kReqeleEndOfDesign = 1;
inline constexpr std::int16_t kReqeleTooLong = 2;
inline constexpr std::int16_t kReqeleNoFile = 3;
inline constexpr std::int16_t kReqeleCutShort = 4;
inline constexpr std::int16_t kReqeleInvalid = 5;
// dfrset: not a design file (or its first 128 bytes cannot be read).
inline constexpr std::int16_t kDfrsetNotDesignFile = 3;

// A position as block (512 bytes) and word within the block.
struct ScanPosition {
  std::uint32_t block = 0;
  std::uint32_t word = 0;
};

// Sets the selection criteria; every argument given (non-null) is stored and
// turns its test on. Masks are four 16-bit words, lowest bits first;
// `properties` is a value/mask pair; `range` six values (x, y, z low, then
// high). A `path` closes the open file and opens that one. Restarts the scan
// at the start position. Stores 0, 3 (not a design file) or the negated
// system error in `status` and returns it.
std::int16_t dfrset(const ScanPosition* start, const std::uint16_t* level_mask,
                    const std::uint16_t* type_mask, const std::uint16_t* graphic_group,
                    const std::uint16_t* properties, const std::uint16_t* class_mask,
                    const std::int32_t* range, const char* path, std::int16_t* status,
                    const std::uint16_t* complex);

// Mode 0 scans with the criteria (restarting at the start position when
// leaving direct mode); nonzero reads the element at the stored position.
void search(const std::int16_t* mode);

// Delivers the next element in memory form: min(words-to-follow x 2 + 4,
// 2 x max_words) bytes into `element`, and the outputs that are not null.
// `range` receives six values, `position` the element's block and word.
std::int16_t reqele(std::uint16_t* element, const std::int32_t* max_words, std::int16_t* status,
                    std::int16_t* level, std::int16_t* type, std::int32_t* cell_value,
                    std::uint16_t* properties, std::uint16_t* word, ScanPosition* position,
                    std::uint16_t* graphic_group, std::int32_t* range, std::int32_t* total_words);

// Closes the file and restores the default criteria (program end, tests).
void reset_design_reader();

}  // namespace vornel::client
