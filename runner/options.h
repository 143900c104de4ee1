#pragma once

#include "grading/program_run.h"
#include "grading/target_value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The cells first..last, both included.
struct CellRange {
    int first;
    int last;
    bool operator==(const CellRange&) const = default;
};

// The K-th of N shares of a class.
struct Shard {
    int number;
    int count;
    bool operator==(const Shard&) const = default;
};

enum class ReportFormat { Csv, Junit, Json };

// The name that stands for standard input among the programs.
inline constexpr std::string_view StandardInputName = "-";

struct RunOptions {
    // The program; with --grade, every program and folder of programs; with
    // --merge, the reports to merge.
    std::vector<std::string> programs;
    std::optional<int> start;
    long long maxSteps = DefaultMaxSteps;
    std::string memoryFile;
    std::vector<TargetValue> presets;
    std::string checkFile;
    std::vector<TargetValue> expectations;
    std::optional<CellRange> dump;
    bool json = false;
    bool trace = false;
    bool explain = false;
    bool strict = false;
    bool grade = false;
    unsigned jobs = 0; // programs graded at once; 0 for one per processor this process may use
    std::optional<Shard> shard;
    std::string assignmentFile;
    std::optional<ReportFormat> report;
    std::string feedbackFolder;
    std::string rosterFile;
    bool merge = false;

    bool operator==(const RunOptions&) const = default;
    bool HasChecks() const { return !checkFile.empty() || !expectations.empty(); }
};

struct CommandLine {
    enum class Kind { Run, Help, Version, Wrong };
    Kind kind = Kind::Wrong;
    RunOptions options;
    std::string problem; // why the command line is wrong
};

// The arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
