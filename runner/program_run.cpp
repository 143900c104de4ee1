#include "runner/program_run.h"

#include "files/whole_file.h"
#include "runner/comparison.h"
#include "runner/memory_image.h"

#include <unistd.h>

namespace {

// A file without a START line starts at 0, as a new program in the window does.
int StartAddress(const RunOptions& options, const SourceDocument& document)
{
    if (options.start) {
        return *options.start;
    }
    return document.hasStart ? document.start : 0;
}

} // namespace

std::optional<RunInputs> ReadInputs(const RunOptions& options,
                                    const std::function<void(const std::string&)>& problem)
{
    RunInputs inputs;
    if (!options.memoryFile.empty()) {
        inputs.memory = ReadMemoryImage(options.memoryFile, problem);
        if (!inputs.memory) {
            return std::nullopt;
        }
    }
    if (!options.checkFile.empty()) {
        inputs.expected = ReadMemoryImage(options.checkFile, problem);
        if (!inputs.expected) {
            return std::nullopt;
        }
        // An empty image would pass every program that halts.
        if (ListsNoCell(*inputs.expected)) {
            problem("mira-run: " + options.checkFile + " lists no cell to compare");
            return std::nullopt;
        }
    }
    return inputs;
}

RunReport RunProgram(const RunOptions& options, const RunInputs& inputs, const std::string& program,
                     const RunListener& listener)
{
    const bool fromInput = program == StandardInputName;
    RunReport report;
    report.program = fromInput ? "<stdin>" : program;
    const FileContent source = fromInput ? ReadWholeStream(STDIN_FILENO, LargestTextFile)
                                         : ReadWholeFile(program, LargestTextFile);
    if (!source.bytes) {
        report.status = RunStatus::Unreadable;
        report.readProblem = "cannot read " + report.program + ": " + source.reason;
        return report;
    }

    Session session(listener, report.program);
    if (inputs.memory) {
        session.LoadImage(*inputs.memory);
    }
    for (const Assignment& preset : options.presets) {
        session.Preset(preset);
    }
    const SourceDocument document = ParseSourceText(*source.bytes);
    if (session.AssembleAndLoad(document, StartAddress(options, document))) {
        report.status = session.Run(options.maxSteps);
    } else {
        report.status = RunStatus::NotAssembled;
    }
    session.FinishErrors();
    if (options.strict && report.status == RunStatus::Halted && session.ErrorSeen()) {
        report.status = RunStatus::MachineError;
    }
    report.steps = session.Steps();
    report.state = session.State();
    report.errors = session.Errors();
    if (report.status == RunStatus::Halted && options.HasChecks()) {
        report.differences = Differences(
            report.state, inputs.expected ? &*inputs.expected : nullptr, options.expectations);
    }
    return report;
}
