#pragma once

#include <cstddef>
#include <functional>
#include <string>

// What one job gave back from its process.
struct WorkerResult {
    int exitStatus = -1; // -1 when the process was ended by a signal
    int signal = 0;      // the signal that ended it
    std::string output;  // what the job wrote
};

// The processors this process may run on (its CPU affinity), at least 1.
unsigned UsableProcessors();

// Runs job(i) for each i below `count`, each in a process of its own, at most
// `parallel` at a time: whatever one job does, crashing included, cannot stop
// the others, and what it held is given back when it ends. The job returns its
// exit status and fills `output`, which comes back through a pipe. `done`
// receives the results in the order of i, as soon as each is complete.
//
// No worker outlives the pool, however it ends: when this process ends, by a
// signal too, the kernel ends its workers. The pool also stops early, ending
// the workers, when the reader of `watchedOutput` (a descriptor, or -1) went
// away, as when a pipeline's reader has read all it wants; false then.
bool RunInWorkers(std::size_t count, unsigned parallel,
                  const std::function<int(std::size_t index, std::string& output)>& job,
                  const std::function<void(std::size_t index, const WorkerResult&)>& done,
                  int watchedOutput);
