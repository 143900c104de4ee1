#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an assignment such as "R1=05", "40=FF" or "PC=12" names.
enum class Target { Register, Memory, Pc };

struct Assignment {
    Target target;
    int index; // register number or cell address; 0 for PC
    int value; // 0..255, or -1 for "--" (no value)
    bool operator==(const Assignment&) const = default;
};

// The cells first..last, both included.
struct CellRange {
    int first;
    int last;
    bool operator==(const CellRange&) const = default;
};

// The name that stands for standard input among the programs.
inline constexpr std::string_view StandardInputName = "-";

struct RunOptions {
    static constexpr long long DefaultMaxSteps = 100000;

    // The program; with --grade, every program and folder of programs.
    std::vector<std::string> programs;
    std::optional<int> start;
    long long maxSteps = DefaultMaxSteps;
    std::string memoryFile;
    std::vector<Assignment> presets;
    std::string checkFile;
    std::vector<Assignment> expectations;
    std::optional<CellRange> dump;
    bool json = false;
    bool trace = false;
    bool explain = false;
    bool strict = false;
    bool grade = false;

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

extern const std::string_view UsageText;
