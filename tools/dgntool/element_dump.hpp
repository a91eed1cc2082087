#pragma once
// dgntool dump: one line per element in file order, as text or JSON.

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

namespace vornel::dgntool {

enum class DumpFormat { text, json };

// Exit statuses of the dump.
inline constexpr int kDumpOk = 0;
inline constexpr int kDumpNotDesignFile = 2;
inline constexpr int kDumpBadElement = 3;

// Writes the header line and the element lines of `file` to `out`; problems
// go to `errors` as "dgntool: NAME: ..." lines. Returns an exit status.
int dump_design_file(std::span<const std::uint8_t> file, const std::string& name,
                     DumpFormat format, std::ostream& out, std::ostream& errors);

}  // namespace vornel::dgntool
