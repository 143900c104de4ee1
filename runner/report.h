#pragma once

#include "runner/session.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct RunReport {
    RunStatus status = RunStatus::Halted;
    long long steps = 0;
    MachineState state;
    std::vector<std::string> errors;
    std::optional<std::vector<std::string>> trace;       // kept for JSON output only
    std::optional<std::vector<std::string>> differences; // when the final state was compared
};

// "halted", "not-assembled", "machine-error" or "step-limit".
std::string_view StatusName(RunStatus status);

// Status, steps, the registers (hexadecimal, "--" for no value), PC, then the
// cells with a value as memory image lines, then any differences.
void WritePlainReport(std::ostream& out, const RunReport& report);

// One JSON object on one line; numbers in decimal, null for no value.
void WriteJsonReport(std::ostream& out, const RunReport& report);
