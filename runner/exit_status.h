#pragma once

// The exit statuses of mira-run, as its usage text and manual page list them.
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
