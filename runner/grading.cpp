#include "runner/grading.h"

#include "runner/class_run.h"
#include "runner/exit_status.h"
#include "runner/json_stream.h"
#include "runner/program_run.h"
#include "runner/report.h"
#include "runner/text_safety.h"

namespace {

// The program's name in a JSON object: as UTF-8, and as the text output
// quotes it where that differs, which keeps every byte of it.
Json ProgramJson(const std::string& path)
{
    Json object;
    object["program"] = path;
    if (const std::string quoted = QuotedName(path); quoted != path) {
        object["program_quoted"] = quoted;
    }
    return object;
}

// Runs in the program's own process: the JSON object, or for a failure the
// text that says what failed.
int GradeOne(const RunOptions& options, const RunSetup& setup, const ClassEntry& entry,
             std::string& output)
{
    RunReport report;
    if (entry.problem.empty()) {
        report = RunProgram(options, setup, entry.path, {});
    } else {
        report.status = RunStatus::Unreadable;
        report.readProblem = entry.problem;
    }
    const int status = ExitStatusOf(report);
    if (options.json) {
        Json object = ProgramJson(entry.path);
        object["exit"] = status;
        object.update(ReportJson(report));
        output = JsonText(object);
    } else if (status != ExitStatus::Halted) {
        output = "status " + std::to_string(status) + ": " + FirstProblem(report, setup);
    }
    return status;
}

} // namespace

int Grade(const RunOptions& options, const RunSetup& setup, std::ostream& out, std::ostream& err)
{
    std::size_t classSize = 0;
    const std::optional<std::vector<ClassEntry>> entries = EntriesToGrade(options, classSize, err);
    if (!entries) {
        return ExitStatus::Usage;
    }
    std::size_t passed = 0;
    StreamedJson array(out);
    const auto grade = [&](const ClassEntry& entry, std::string& output) {
        return GradeOne(options, setup, entry, output);
    };
    const auto done = [&](const ClassEntry& entry, const WorkerResult& result) {
        passed += result.exitStatus == ExitStatus::Halted ? 1 : 0;
        if (options.json) {
            Json object = Json::parse(result.output, nullptr, false);
            if (result.exitStatus == -1 || object.is_discarded()) {
                object = ProgramJson(entry.path);
                object["exit"] = nullptr;
                object["status"] = "crashed";
                object["errors"] = Json::array({CrashText(result)});
            }
            array.Add(object);
        } else if (result.exitStatus == ExitStatus::Halted) {
            out << "pass  " << QuotedName(entry.path) << '\n';
        } else {
            out << "FAIL  " << QuotedName(entry.path) << "  "
                << (result.exitStatus == -1 ? CrashText(result) : result.output) << '\n';
        }
    };
    GradeEntries(options, *entries, grade, done, out, err);
    const std::size_t failed = entries->size() - passed;
    if (options.json) {
        array.Finish();
    } else {
        out << passed << " passed, " << failed << " failed\n";
    }
    return failed == 0 ? ExitStatus::Halted : ExitStatus::SomeFailed;
}
