#include "runner/program_run.h"

#include "files/whole_file.h"
#include "grading/assembled_program.h"
#include "grading/memory_image.h"
#include "runner/text_safety.h"

#include <unistd.h>

#include <new>

namespace {

std::optional<MemoryImage> ReadImage(const std::string& fileName,
                                     const std::function<void(const std::string&)>& problem)
{
    const MemoryImageFile file = ReadMemoryImage(fileName);
    if (!file.unreadable.empty()) {
        problem("mira-run: cannot read " + fileName + ": " + file.unreadable);
    }
    for (const std::string& line : file.errorLines) {
        problem(line);
    }
    return file.image;
}

} // namespace

std::optional<RunSetup> ReadRunSetup(const RunOptions& options,
                                     const std::function<void(const std::string&)>& problem)
{
    RunSetup setup;
    setup.presets = options.presets;
    setup.maxSteps = options.maxSteps;
    setup.strict = options.strict;
    setup.expectations = options.expectations;
    if (!options.memoryFile.empty()) {
        setup.memory = ReadImage(options.memoryFile, problem);
        if (!setup.memory) {
            return std::nullopt;
        }
    }
    if (!options.checkFile.empty()) {
        setup.expected = ReadImage(options.checkFile, problem);
        if (!setup.expected) {
            return std::nullopt;
        }
        // An empty image would pass every program that halts.
        if (ListsNoCell(*setup.expected)) {
            problem("mira-run: " + options.checkFile + " lists no cell to compare");
            return std::nullopt;
        }
    }
    return setup;
}

RunReport RunProgram(const RunOptions& options, const RunSetup& setup, const std::string& program,
                     const RunListener& listener)
{
    const bool fromInput = program == StandardInputName;
    const std::string name = fromInput ? "<stdin>" : QuotedName(program);
    RunReport report;
    report.program = name;
    report.status = RunStatus::Unreadable;
    try {
        const FileContent source = fromInput ? ReadWholeStream(STDIN_FILENO, LargestTextFile)
                                             : ReadWholeFile(program, LargestTextFile);
        if (!source.bytes) {
            report.readProblem = "cannot read " + name + ": " + source.reason;
            return report;
        }
        const ProgramSource rows = ReadProgramSource(*source.bytes);
        const int start = options.start ? *options.start : StartAddressOf(rows);
        return RunAssembled(AssembleProgram(rows, start, name, listener), setup, name, listener);
    } catch (const std::bad_alloc&) {
        report.readProblem = "cannot run " + name + ": out of memory";
    }
    return report;
}
