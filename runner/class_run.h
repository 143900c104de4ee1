#pragma once

#include "runner/class_list.h"
#include "runner/options.h"
#include "runner/worker_pool.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The entries the options ask to grade: the programs and folders named, the
// roster's missing names, the share of --shard. Nothing, after the reason
// went to `err`, when the roster cannot be read or there is nothing to grade.
std::optional<std::vector<ClassEntry>> EntriesToGrade(const RunOptions& options,
                                                      std::size_t& classSize, std::ostream& err);

// Runs `grade` for every entry in a worker process of its own and hands each
// result to `done` in the order of the entries, flushing `out` after each so
// that an interrupted grading keeps every result decided; a line on standard
// error tells the progress when it is a terminal. False when the reader of
// standard output went away.
bool GradeEntries(const RunOptions& options, const std::vector<ClassEntry>& entries,
                  const std::function<int(const ClassEntry&, std::string& output)>& grade,
                  const std::function<void(const ClassEntry&, const WorkerResult&)>& done,
                  std::ostream& out, std::ostream& err);

// "crashed: Segmentation fault" for a worker ended by a signal.
std::string CrashText(const WorkerResult& result);
