#pragma once

#include "grading/assignment.h"
#include "grading/program_source.h"

#include <optional>
#include <string>
#include <vector>

// A rule of the assignment that holds for the whole program: "forbid" or "max_size".
struct RuleResult {
    std::string name;
    bool kept = true;
    std::string problem; // what broke it, such as "使用了禁止的指令 ADDF (第 4 行)"
};

struct CaseResult {
    std::string name;
    int points = 0; // what the case is worth
    bool hidden = false;
    bool passed = false;
    int earned = 0;
    std::optional<RunStatus> status; // nothing when the program never ran
    long long steps = 0;
    // Every difference, or what else failed it; always empty for a hidden case.
    std::vector<std::string> problems;
    // Each value compared, expected and found, when the program halted by
    // HALT; always empty for a hidden case.
    std::vector<Comparison> comparisons;
};

struct ProgramGrade {
    std::vector<RuleResult> rules;
    std::vector<CaseResult> cases;
    int score = 0; // a program that breaks a rule earns nothing
    int total = 0;

    bool AllPassed() const;
};

// Assembles the program once and runs every case of the assignment on a
// fresh machine of its own; nothing else is touched, so the window can grade
// the rows it shows while its own machine stays as it is.
ProgramGrade GradeProgram(const Assignment& assignment, const ProgramSource& program,
                          const std::string& programName);

// The grade of a program that never ran, such as one that cannot be read:
// every case failed for that one reason.
ProgramGrade FailedGrade(const Assignment& assignment, const std::string& reason);
