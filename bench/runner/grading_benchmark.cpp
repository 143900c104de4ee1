// Grading a folder of generated programs, a third right, a third wrong and a
// third endless: mira-run --grade against the README's shell loop that starts
// mira-run once per program, and against an assignment of five cases; the
// time and peak memory of an 8 MB program of rows that never fit; and the
// cost of a loop that reports an error at every step against the same loop
// without errors.
#include "assembler/source_file.h"
#include "runner/program_run.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::size_t ProgramCount()
{
    const char* count = std::getenv("MIRA_BENCH_PROGRAMS");
    return count != nullptr ? std::strtoul(count, nullptr, 10) : 2000;
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Stores 08 in cell 40 and R3, as the expected results ask; the wrong ones store 09.
std::string Program(std::size_t number)
{
    const std::string start = number % 2 == 0 ? "20" : "80";
    switch (number % 3) {
    case 0:
        return FormatSourceText(std::stoi(start, nullptr, 16), {{"", "LOAD", "R1,05"},
                                                                {"", "LOAD", "R2,03"},
                                                                {"", "ADD", "R3,R1,R2"},
                                                                {"", "STORE", "R3,@40"},
                                                                {"", "HALT", ""}});
    case 1:
        return FormatSourceText(std::stoi(start, nullptr, 16),
                                {{"", "LOAD", "R3,09"}, {"", "STORE", "R3,@40"}, {"", "HALT", ""}});
    default:
        return FormatSourceText(std::stoi(start, nullptr, 16),
                                {{"", "LOAD", "R0,00"}, {"LOOP", "JUMP", "R0,@LOOP"}});
    }
}

class Submissions {
public:
    Submissions()
        : folder_(fs::temp_directory_path() / ("mira-grading-" + std::to_string(getpid())))
    {
        fs::create_directories(folder_ / "class");
        for (std::size_t i = 0; i < ProgramCount(); ++i) {
            WriteFile(folder_ / "class" / ("student" + std::to_string(i) + ".asm"), Program(i));
        }
        WriteFile(folder_ / "expected.mm", "64 8\n");
        std::string assignment;
        for (int i = 1; i <= 5; ++i) {
            assignment += "[[case]]\nname = \"case " + std::to_string(i) + "\"\nset = { R1 = \"0" +
                          std::to_string(i) + "\" }\nexpect = { R3 = \"08\", \"40\" = \"08\" }\n";
        }
        WriteFile(folder_ / "five.toml", assignment);
        std::string rows;
        for (int i = 0; i < 4000000; ++i) {
            rows += "X\n";
        }
        WriteFile(folder_ / "large.asm", rows);
    }
    ~Submissions() { fs::remove_all(folder_); }
    const fs::path& Folder() const { return folder_; }

private:
    fs::path folder_;
};

const Submissions& TheSubmissions()
{
    static const Submissions submissions;
    return submissions;
}

void RunShell(benchmark::State& state, const std::string& command)
{
    const std::string inFolder = "cd '" + TheSubmissions().Folder().string() + "' && " + command;
    for (auto _ : state) {
        // Every status but the shell's own failure is expected: some programs fail.
        if (std::system(inFolder.c_str()) == -1) {
            state.SkipWithError("cannot start a shell");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(ProgramCount()));
}

void GradeCommand(benchmark::State& state)
{
    RunShell(state, std::string("'") + MIRA_RUN_PATH +
                        "' --grade class --check expected.mm --expect R3=08 >/dev/null");
}

void AssignmentOfFiveCases(benchmark::State& state)
{
    RunShell(state, std::string("'") + MIRA_RUN_PATH +
                        "' --grade class --assignment five.toml >/dev/null");
}

// The largest program file there may be: 4 million rows of "X", of which the
// assembler looks at the first 128.
void LargeProgram(benchmark::State& state)
{
    RunShell(state, std::string("'") + MIRA_RUN_PATH + "' large.asm --dump 40 2>/dev/null");
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    state.counters["peak_kB"] = static_cast<double>(usage.ru_maxrss);
    state.SetItemsProcessed(state.iterations());
}

void ShellLoop(benchmark::State& state)
{
    RunShell(state, std::string("for program in class/*.asm; do if '") + MIRA_RUN_PATH +
                        "' \"$program\" --check expected.mm --expect R3=08 >/dev/null 2>&1; "
                        "then echo \"pass  $program\"; else echo \"FAIL  $program (status $?)\"; "
                        "fi; done >/dev/null");
}

// One program run in this process for the number of steps given.
void Loop(benchmark::State& state, const char* name, const std::string& program)
{
    const fs::path path = TheSubmissions().Folder() / name;
    WriteFile(path, program);
    RunOptions options;
    options.maxSteps = state.range(0);
    RunSetup setup;
    setup.maxSteps = options.maxSteps;
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunProgram(options, setup, path.string(), {}));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// ROTATE of the empty R1 reports an error at every pass.
void FloodingLoop(benchmark::State& state)
{
    Loop(state, "flood.asm",
         FormatSourceText(
             0, {{"", "LOAD", "R0,00"}, {"LOOP", "ROTATE", "R1,1"}, {"", "JUMP", "R0,@LOOP"}}));
}

void CleanLoop(benchmark::State& state)
{
    Loop(state, "clean.asm",
         FormatSourceText(0, {{"", "LOAD", "R0,00"},
                              {"", "LOAD", "R1,01"},
                              {"LOOP", "ROTATE", "R1,1"},
                              {"", "JUMP", "R0,@LOOP"}}));
}

} // namespace

// First, so that the peak memory of the children is this program's own.
BENCHMARK(LargeProgram)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(GradeCommand)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(AssignmentOfFiveCases)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ShellLoop)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FloodingLoop)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(CleanLoop)->Arg(100000)->Unit(benchmark::kMillisecond);
