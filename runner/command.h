#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ExitStatus {
enum Code : int {
    Halted = 0,
    NotAssembled = 1,
    MachineError = 2,
    StepLimit = 3,
    Differs = 4,
    SomeFailed = 5,
    Usage = 64,
    OutputFailed = 74,
};
} // namespace ExitStatus

// The whole of mira-run: `arguments` are those after the program name; the
// result goes to `out`, error texts and usage problems to `err`. Returns the
// exit status.
int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
