#include "runner/command.h"

#include "assembler/source_file.h"
#include "files/whole_file.h"
#include "runner/comparison.h"
#include "runner/options.h"
#include "runner/report.h"
#include "runner/session.h"

#include <optional>

namespace {

int ExitStatusOf(const RunReport& report)
{
    switch (report.status) {
    case RunStatus::Halted:
        return report.differences && !report.differences->empty() ? ExitStatus::Differs
                                                                  : ExitStatus::Halted;
    case RunStatus::NotAssembled:
        return ExitStatus::NotAssembled;
    case RunStatus::MachineError:
        return ExitStatus::MachineError;
    case RunStatus::StepLimit:
        return ExitStatus::StepLimit;
    }
    return ExitStatus::MachineError;
}

// A file without a START line starts at 0, as a new program in the window does.
int StartAddress(const RunOptions& options, const SourceDocument& document)
{
    if (options.start) {
        return *options.start;
    }
    return document.hasStart ? document.start : 0;
}

} // namespace

int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (commandLine.kind == CommandLine::Kind::Help) {
        out << UsageText;
        return ExitStatus::Halted;
    }
    if (commandLine.kind == CommandLine::Kind::Wrong) {
        err << "mira-run: " << commandLine.problem << "\n\n" << UsageText;
        return ExitStatus::Usage;
    }
    const RunOptions& options = commandLine.options;
    const auto printError = [&err](const std::string& line) { err << line << '\n'; };

    // A comparison that cannot be made must not pass, so an unusable expected
    // image stops before anything runs.
    std::optional<MemoryImage> expectedImage;
    if (!options.checkFile.empty()) {
        expectedImage = ReadExpectedImage(options.checkFile, printError);
        if (!expectedImage) {
            return ExitStatus::Usage;
        }
    }
    const FileContent source = ReadWholeFile(options.programFile, LargestTextFile);
    if (!source.bytes) {
        err << "mira-run: cannot read " << options.programFile << ": " << source.reason << '\n';
        return ExitStatus::NotAssembled;
    }

    RunReport report;
    if (options.json && options.trace) {
        report.trace.emplace();
    }
    RunListener listener;
    listener.error = [&](const std::string& line) {
        printError(line);
        report.errors.push_back(line);
    };
    if (options.trace) {
        listener.trace = [&](const std::string& line) {
            if (report.trace) {
                report.trace->push_back(line);
            } else {
                out << line << '\n';
            }
        };
    }

    Session session(listener);
    if (!options.memoryFile.empty()) {
        session.LoadMemoryFile(options.memoryFile);
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
    report.steps = session.Steps();
    report.state = session.State();
    if (report.status == RunStatus::Halted && options.HasChecks()) {
        report.differences = Differences(report.state, expectedImage ? &*expectedImage : nullptr,
                                         options.expectations);
    }

    if (options.json) {
        WriteJsonReport(out, report);
    } else {
        WritePlainReport(out, report);
    }
    return ExitStatusOf(report);
}
