#include "runner/grading.h"

#include "runner/command.h"
#include "runner/json_text.h"
#include "runner/worker_pool.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

bool IsProgramFile(const fs::directory_entry& entry)
{
    std::string extension = entry.path().extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::error_code error;
    return extension == ".asm" && entry.is_regular_file(error);
}

// The programs named and those in the folders named, sorted by path; nothing,
// with the reason, when a folder cannot be read.
std::optional<std::vector<std::string>> CollectPrograms(const std::vector<std::string>& names,
                                                        std::string& problem)
{
    std::vector<std::string> programs;
    for (const std::string& name : names) {
        std::error_code error;
        if (!fs::is_directory(name, error)) {
            programs.push_back(name);
            continue;
        }
        for (fs::recursive_directory_iterator entry(name, error), end; !error && entry != end;
             entry.increment(error)) {
            if (IsProgramFile(*entry)) {
                programs.push_back(entry->path().string());
            }
        }
        if (error) {
            problem = "cannot read folder " + name + ": " + error.message();
            return std::nullopt;
        }
    }
    std::sort(programs.begin(), programs.end());
    programs.erase(std::unique(programs.begin(), programs.end()), programs.end());
    return programs;
}

// Runs in the program's own process: the JSON object, or for a failure the
// line that says what failed.
int GradeOne(const RunOptions& options, const RunInputs& inputs, const std::string& program,
             std::string& output)
{
    const RunReport report = RunProgram(options, inputs, program, {});
    const int status = ExitStatusOf(report);
    if (options.json) {
        std::ostringstream object;
        object << "{\"program\":" << JsonString(program) << ",\"exit\":" << status << ',';
        WriteJsonMembers(object, report);
        object << '}';
        output = object.str();
    } else if (status != ExitStatus::Halted) {
        output = "status " + std::to_string(status) + ": " + FirstProblem(report, options.maxSteps);
    }
    return status;
}

std::string CrashText(const WorkerResult& result)
{
    return std::string("crashed: ") + strsignal(result.signal);
}

} // namespace

int Grade(const RunOptions& options, const RunInputs& inputs, std::ostream& out, std::ostream& err)
{
    std::string problem;
    const std::optional<std::vector<std::string>> programs =
        CollectPrograms(options.programs, problem);
    if (!programs || programs->empty()) {
        err << "mira-run: " << (programs ? "no program to grade" : problem) << '\n';
        return ExitStatus::Usage;
    }
    std::size_t passed = 0;
    if (options.json) {
        out << '[';
    }
    const auto job = [&](std::size_t index, std::string& output) {
        return GradeOne(options, inputs, (*programs)[index], output);
    };
    const auto done = [&](std::size_t index, const WorkerResult& result) {
        const std::string& program = (*programs)[index];
        passed += result.exitStatus == ExitStatus::Halted ? 1 : 0;
        if (options.json) {
            out << (index == 0 ? "" : ",");
            if (result.exitStatus == -1) {
                out << "{\"program\":" << JsonString(program)
                    << ",\"exit\":null,\"status\":\"crashed\",\"errors\":["
                    << JsonString(CrashText(result)) << "]}";
            } else {
                out << result.output;
            }
        } else if (result.exitStatus == ExitStatus::Halted) {
            out << "pass  " << program << '\n';
        } else {
            out << "FAIL  " << program << "  "
                << (result.exitStatus == -1 ? CrashText(result) : result.output) << '\n';
        }
    };
    RunInWorkers(programs->size(), std::max(1u, std::thread::hardware_concurrency()), job, done);
    const std::size_t failed = programs->size() - passed;
    if (options.json) {
        out << "]\n";
    } else {
        out << passed << " passed, " << failed << " failed\n";
    }
    return failed == 0 ? ExitStatus::Halted : ExitStatus::SomeFailed;
}
