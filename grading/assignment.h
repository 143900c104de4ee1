#pragma once

#include "grading/program_run.h"

#include <optional>
#include <string>
#include <vector>

// One test case of an assignment: a run, what it is compared with and what it is worth.
struct TestCase {
    std::string name;
    int points = 1;
    bool hidden = false; // shows pass or fail only, never its values
    RunSetup setup;
};

// What a teacher asks of every solution.
struct Assignment {
    std::string title;
    std::vector<std::string> forbidden; // mnemonics a solution may not use
    std::optional<int> maxSize;         // the cells a program may take
    std::vector<TestCase> cases;

    int TotalPoints() const;
};

// The assignment as a student may see it: without its hidden cases.
Assignment WithoutHiddenCases(const Assignment& assignment);
