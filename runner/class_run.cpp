#include "runner/class_run.h"

#include <malloc.h>
#include <unistd.h>

#include <cstring>

std::optional<std::vector<ClassEntry>> EntriesToGrade(const RunOptions& options,
                                                      std::size_t& classSize, std::ostream& err)
{
    std::vector<std::string> roster;
    if (!options.rosterFile.empty()) {
        std::string problem;
        std::optional<std::vector<std::string>> names = ReadRoster(options.rosterFile, problem);
        if (!names) {
            err << "mira-run: " << problem << '\n';
            return std::nullopt;
        }
        roster = std::move(*names);
    }
    std::vector<ClassEntry> entries = CollectClass(options.programs, roster);
    classSize = entries.size();
    if (entries.empty()) {
        err << "mira-run: no program to grade\n";
        return std::nullopt;
    }
    return options.shard ? ShareOf(entries, *options.shard) : entries;
}

bool GradeEntries(const RunOptions& options, const std::vector<ClassEntry>& entries,
                  const std::function<int(const ClassEntry&, std::string& output)>& grade,
                  const std::function<void(const ClassEntry&, const WorkerResult&)>& done,
                  std::ostream& out, std::ostream& err)
{
    const bool showProgress = ::isatty(STDERR_FILENO) == 1;
    const auto job = [&](std::size_t index, std::string& output) {
        return grade(entries[index], output);
    };
    const auto finished = [&](std::size_t index, const WorkerResult& result) {
        done(entries[index], result);
        out.flush();
        if (showProgress) {
            err << "\rgraded " << index + 1 << " of " << entries.size() << std::flush;
        }
    };
    // Each worker is a fork: heap pages the parent has freed would be copied
    // into every worker that reuses them; handed back, they cost nothing.
    ::malloc_trim(0);
    const unsigned parallel = options.jobs > 0 ? options.jobs : UsableProcessors();
    const bool complete = RunInWorkers(entries.size(), parallel, job, finished, STDOUT_FILENO);
    if (showProgress) {
        err << "\r\x1b[K" << std::flush;
    }
    return complete;
}

std::string CrashText(const WorkerResult& result)
{
    return std::string("crashed: ") + strsignal(result.signal);
}
