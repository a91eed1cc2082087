#pragma once
// The words shown after the driver ends. The driver's status arrives as a
// POSIX shell sees it (status & 255), so it is read modulo 256: -1 is 255.
#include <string>

namespace vornel::frontend {

struct RunOutcome {
    bool killedBySignal = false;
    int signal = 0;      // when killedBySignal
    int exitCode = 0;    // when not
};

// Status 130 is how a shell reports a child ended by the console interrupt.
inline constexpr int kInterruptedStatus = 130;

int statusModulo256(int code);
std::string outcomeText(const RunOutcome& outcome);

}  // namespace vornel::frontend
