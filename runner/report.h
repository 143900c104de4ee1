#pragma once

#include "runner/session.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct RunReport {
    std::string program;     // the program's name in messages
    std::string readProblem; // why the program could not be read; empty when it was
    RunStatus status = RunStatus::Halted;
    long long steps = 0;
    MachineState state;
    std::vector<std::string> errors;
    std::optional<std::vector<std::string>> differences; // when the final state was compared
};

// "halted", "unreadable", "not-assembled", "machine-error" or "step-limit".
std::string_view StatusName(RunStatus status);

int ExitStatusOf(const RunReport& report);

// Status, steps, the registers (hexadecimal, "--" for no value), PC, then the
// cells with a value as memory image lines, then any differences.
void WritePlainReport(std::ostream& out, const RunReport& report);

// The members of the report's JSON object, without its braces; numbers in
// decimal, null for no value.
void WriteJsonMembers(std::ostream& out, const RunReport& report);

// What failed the program, in one line: the first difference, or the first
// error, or the step limit.
std::string FirstProblem(const RunReport& report, long long maxSteps);
