#include "frontend/compose/run_outcome.h"

#include <csignal>

namespace vornel::frontend {

int statusModulo256(int code) { return ((code % 256) + 256) % 256; }

std::string outcomeText(const RunOutcome& outcome) {
    int status = 0;
    if (outcome.killedBySignal) {
        if (outcome.signal == SIGINT) return "Shell was Interupted";
        status = statusModulo256(128 + outcome.signal);  // as a shell reports it
    } else {
        status = statusModulo256(outcome.exitCode);
    }
    if (status == 0) return "Process Completed Successfully";
    if (status == kInterruptedStatus) return "Shell was Interupted";
    return "Abnormal Exit, Exit Code: " + std::to_string(status);
}

}  // namespace vornel::frontend
