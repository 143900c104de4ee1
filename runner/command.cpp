#include "runner/command.h"

#include "runner/grading.h"
#include "runner/json_text.h"
#include "runner/memory_image.h"
#include "runner/options.h"
#include "runner/program_run.h"

namespace {

// One program: the report on standard output, the errors on standard error
// as they come. With --json and --trace the trace is written as it goes, at
// the start of the object, so that no step limit makes it pile up in memory.
int RunOne(const RunOptions& options, const RunInputs& inputs, std::ostream& out, std::ostream& err)
{
    RunListener listener;
    listener.error = [&err](const std::string& line) { err << line << '\n' << std::flush; };
    bool traceStarted = false;
    if (options.trace) {
        listener.trace = [&](const std::string& line) {
            if (!options.json) {
                out << line << '\n';
                return;
            }
            out << (traceStarted ? "," : "{\"trace\":[") << JsonString(line);
            traceStarted = true;
        };
    }
    if (options.explain) {
        listener.explain = [&out](const std::string& line) { out << line << '\n'; };
    }
    const RunReport report = RunProgram(options, inputs, options.programs.front(), listener);
    if (report.status == RunStatus::Unreadable) {
        err << "mira-run: " << report.readProblem << '\n';
        return ExitStatusOf(report);
    }
    if (options.dump) {
        WriteImageCells(out, report.state.memory, *options.dump);
    } else if (options.json) {
        if (options.trace) {
            out << (traceStarted ? "]," : "{\"trace\":[],");
        } else {
            out << '{';
        }
        WriteJsonMembers(out, report);
        out << "}\n";
    } else {
        WritePlainReport(out, report);
    }
    return ExitStatusOf(report);
}

} // namespace

int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const CommandLine commandLine = ParseCommandLine(arguments);
    switch (commandLine.kind) {
    case CommandLine::Kind::Help:
        out << UsageText;
        return ExitStatus::Halted;
    case CommandLine::Kind::Version:
        out << "mira-run " << MIRA_VERSION << '\n';
        return ExitStatus::Halted;
    case CommandLine::Kind::Wrong:
        err << "mira-run: " << commandLine.problem << " (see mira-run --help)\n";
        return ExitStatus::Usage;
    case CommandLine::Kind::Run:
        break;
    }
    const RunOptions& options = commandLine.options;
    const std::optional<RunInputs> inputs =
        ReadInputs(options, [&err](const std::string& line) { err << line << '\n'; });
    if (!inputs) {
        return ExitStatus::Usage;
    }
    return options.grade ? Grade(options, *inputs, out, err) : RunOne(options, *inputs, out, err);
}
