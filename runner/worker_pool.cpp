#include "runner/worker_pool.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <map>
#include <optional>
#include <vector>

namespace {

struct Worker {
    std::size_t index = 0;
    pid_t pid = -1;
    int descriptor = -1; // the reading end of the worker's pipe
    std::string output;
};

void WriteAll(int descriptor, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;
        }
        written += static_cast<std::size_t>(count);
    }
}

// In the child, the job runs and its process ends without running the
// parent's exit handlers or flushing the parent's buffered output. It is
// killed when the parent ends, even by SIGKILL.
std::optional<Worker> Start(std::size_t index,
                            const std::function<int(std::size_t, std::string&)>& job)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have ended before the request was made.
        if (::getppid() != parent) {
            ::_exit(1);
        }
        ::close(ends[0]);
        std::string output;
        const int status = job(index, output);
        WriteAll(ends[1], output);
        ::_exit(status);
    }
    ::close(ends[1]);
    if (pid < 0) {
        ::close(ends[0]);
        return std::nullopt;
    }
    return Worker{index, pid, ends[0], {}};
}

WorkerResult Finish(Worker& worker)
{
    ::close(worker.descriptor);
    int status = 0;
    while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
    }
    WorkerResult result;
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    result.output = std::move(worker.output);
    return result;
}

// The running workers; those still running when the pool ends are killed.
class Workers {
public:
    Workers() = default;
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    ~Workers()
    {
        for (Worker& worker : running) {
            ::kill(worker.pid, SIGKILL);
            Finish(worker);
        }
    }

    std::vector<Worker> running;
};

bool ReaderGone(const pollfd& watched)
{
    return (watched.revents & (POLLERR | POLLHUP)) != 0;
}

} // namespace

unsigned UsableProcessors()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) {
        return 1;
    }
    return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
}

bool RunInWorkers(std::size_t count, unsigned parallel,
                  const std::function<int(std::size_t, std::string&)>& job,
                  const std::function<void(std::size_t, const WorkerResult&)>& done,
                  int watchedOutput)
{
    Workers workers;
    std::vector<Worker>& running = workers.running;
    std::map<std::size_t, WorkerResult> waiting; // complete, but an earlier one is not
    std::size_t next = 0;
    std::size_t nextDone = 0;
    while (nextDone < count) {
        while (running.size() < parallel && next < count) {
            if (std::optional<Worker> worker = Start(next, job)) {
                running.push_back(std::move(*worker));
                ++next;
            } else if (running.empty()) {
                // Not even one process: the job runs here, unprotected, rather than not at all.
                WorkerResult result;
                result.exitStatus = job(next, result.output);
                waiting.emplace(next++, std::move(result));
            } else {
                break;
            }
        }
        // The watched output comes last; only its errors are asked for.
        std::vector<pollfd> descriptors;
        for (const Worker& worker : running) {
            descriptors.push_back({worker.descriptor, POLLIN, 0});
        }
        if (watchedOutput >= 0) {
            descriptors.push_back({watchedOutput, 0, 0});
        }
        if (!running.empty() && ::poll(descriptors.data(), descriptors.size(), -1) < 0 &&
            errno != EINTR) {
            break;
        }
        if (watchedOutput >= 0) {
            if (ReaderGone(descriptors.back())) {
                return false;
            }
            // A descriptor that is not open cannot be watched.
            if ((descriptors.back().revents & POLLNVAL) != 0) {
                watchedOutput = -1;
            }
        }
        for (std::size_t i = running.size(); i-- > 0;) {
            if (descriptors[i].revents == 0) {
                continue;
            }
            char buffer[65536];
            const ssize_t length = ::read(running[i].descriptor, buffer, sizeof buffer);
            if (length > 0) {
                running[i].output.append(buffer, static_cast<std::size_t>(length));
            } else if (length == 0 || errno != EINTR) {
                waiting.emplace(running[i].index, Finish(running[i]));
                running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        for (auto first = waiting.begin(); first != waiting.end() && first->first == nextDone;
             first = waiting.erase(first), ++nextDone) {
            done(first->first, first->second);
        }
    }
    return true;
}
