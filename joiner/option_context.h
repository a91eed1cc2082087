// What one option's reader works with, and what it decides.
#pragma once

#include <bitset>
#include <ostream>
#include <string_view>

#include "joiner/console_print.h"
#include "joiner/fixed_text.h"
#include "joiner/run_config.h"
#include "joiner/run_environment.h"

namespace vornel::joiner {

// Facts gathered while the options are read that the record does not keep.
struct ReadState {
  std::bitset<kMaxBreakIntervals + 1> intervals_given;  // bit n: -B gave interval n
};

// The outcome of reading one option: go on, stop with the improper-option
// message (status 3), or stop with a status whose message is already printed.
struct Verdict {
  enum class Kind { accepted, improper, stop };
  Kind kind = Kind::accepted;
  int status = 0;

  static constexpr Verdict accept() { return {}; }
  static constexpr Verdict improper() { return {Kind::improper, 3}; }
  static constexpr Verdict stop(int exit_status) { return {Kind::stop, exit_status}; }
};

struct OptionContext {
  RunConfig& cfg;
  ReadState& state;
  const RunEnvironment& env;
  std::ostream& out;
  std::string_view option;  // the option as given, e.g. "-PNU"
  std::string_view value;   // the consumed value; empty when none was taken
  bool has_value = false;

  // Stores a text into one of the record's buffers. A text too long for the
  // buffer is refused with a message, and the caller makes its option improper:
  // a cut table or column name would quietly name another one.
  template <std::size_t N>
  bool put(FixedText<N>& into, std::string_view text, const char* what) const {
    if (into.assign(text)) return true;
    print(out, "\n%s is too long (at most %zu characters): %.*s", what, FixedText<N>::capacity,
          static_cast<int>(text.size()), text.data());
    return false;
  }
};

// A variable the run cannot do without is not set: the driver always sets it,
// so this is a run started by hand, and guessing a value would damage data.
inline constexpr int kMissingEnvironmentStatus = 4;

inline void print_missing_environment(std::ostream& out, const char* name) {
  print(out, "\nQBT_vornel exiting .....\nEnvironment variable %s is not set\n", name);
}

}  // namespace vornel::joiner
