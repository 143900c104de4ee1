#pragma once

#include "grading/comparison.h"
#include "grading/machine_state.h"
#include "grading/session.h"
#include "grading/target_value.h"

#include <optional>
#include <string>
#include <vector>

struct AssembledProgram;

inline constexpr long long DefaultMaxSteps = 100000;

// What one run of a program starts with, how long it may take and what its
// result is compared with.
struct RunSetup {
    std::optional<MemoryImage> memory; // loaded first
    std::vector<TargetValue> presets;  // then these, then the program
    long long maxSteps = DefaultMaxSteps;
    std::optional<double> timeLimit; // seconds of wall-clock time
    bool strict = false;             // any error fails the run
    std::optional<MemoryImage> expected;
    std::vector<TargetValue> expectations;

    bool HasChecks() const { return expected.has_value() || !expectations.empty(); }
};

struct RunReport {
    std::string program;     // the program's name in messages
    std::string readProblem; // why the program could not be read; empty when it was
    RunStatus status = RunStatus::Halted;
    long long steps = 0;
    MachineState state;
    std::vector<std::string> errors;
    std::string haltingError;            // the first line of the error that halted the machine
    std::vector<Comparison> comparisons; // when the final state was compared
    std::optional<std::vector<std::string>> differences; // when the final state was compared
};

// Runs an assembled program on a fresh machine and compares its final state
// when it halted by HALT. A program that did not assemble does not run: the
// report holds the assembler's errors and the machine as the setup left it.
RunReport RunAssembled(const AssembledProgram& program, const RunSetup& setup,
                       const std::string& programName, const RunListener& listener);

// What failed the run, in one line: the first difference, the error that
// halted the machine, the limit reached or the first error.
std::string FirstProblem(const RunReport& report, const RunSetup& setup);
