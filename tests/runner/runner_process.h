#pragma once

// Runs the real mira-run executable in a folder of its own, for the process tests.
#include "assembler/source_file.h"
#include "tests/text_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

// Stores 08 in cell 40 and R3.
inline const std::string Adding = FormatSourceText(0x20, {
                                                             {"", "LOAD", "R1,05"},
                                                             {"", "LOAD", "R2,03"},
                                                             {"", "ADD", "R3,R1,R2"},
                                                             {"", "STORE", "R3,@40"},
                                                             {"", "HALT", ""},
                                                         });

inline const std::string EndlessLoop = FormatSourceText(0x00, {
                                                                  {"", "LOAD", "R0,00"},
                                                                  {"LOOP", "JUMP", "R0,@LOOP"},
                                                              });

inline const std::string Tiny = FormatSourceText(0x00, {{"", "LOAD", "R1,05"}, {"", "HALT", ""}});

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Whether the lines appear, whole, in the text.
inline bool HasLines(const std::string& text, std::string lines)
{
    if (!lines.ends_with('\n')) {
        lines += '\n';
    }
    return ("\n" + text).find("\n" + lines) != std::string::npos;
}

// The text as one word of a shell command.
inline std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Waits up to `seconds` for the condition.
inline bool WaitFor(const std::function<bool()>& condition, double seconds = 10)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class RunnerProcess : public testing::Test {
protected:
    void SetUp() override
    {
        // Each test runs in a process of its own, so the process number keeps folders apart.
        folder_ = fs::temp_directory_path() / ("mira-runner-" + std::to_string(getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override
    {
        // A folder the test made unreadable is taken away all the same.
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(
                 folder_, fs::directory_options::skip_permission_denied)) {
            if (entry.is_directory() && !entry.is_symlink()) {
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
            }
        }
        fs::remove_all(folder_);
    }

    void Write(const std::string& name, const std::string& text)
    {
        fs::create_directories((folder_ / name).parent_path());
        WriteText(folder_ / name, text);
    }

    // The shell command that runs mira-run in the test's folder, so that file
    // names in messages are as given; `prefix` comes before it ("ulimit -v
    // 9000;", "taskset -c 0").
    std::string Command(const std::vector<std::string>& arguments,
                        const std::string& prefix = {}) const
    {
        std::string command =
            "cd " + Quoted(folder_.string()) + " && " + prefix + " " + Quoted(MIRA_RUN_PATH);
        for (const std::string& argument : arguments) {
            command += " " + Quoted(argument);
        }
        return command;
    }

    Outcome Run(const std::vector<std::string>& arguments,
                const std::string& redirections = ">out.txt 2>err.txt",
                const std::string& prefix = {})
    {
        WriteText(folder_ / "out.txt", "");
        WriteText(folder_ / "err.txt", "");
        const std::string command = Command(arguments, prefix) + " " + redirections;
        Outcome outcome;
        const int result = std::system(command.c_str());
        if (result != -1 && WIFEXITED(result)) {
            outcome.status = WEXITSTATUS(result);
        }
        outcome.out = ReadText(folder_ / "out.txt");
        outcome.err = ReadText(folder_ / "err.txt");
        return outcome;
    }

    // Starts mira-run without waiting, its output into out.txt and err.txt;
    // the process number is mira-run's own.
    pid_t Start(const std::vector<std::string>& arguments, const std::string& prefix = {})
    {
        const std::string command = Command(arguments, "exec " + prefix) + " >out.txt 2>err.txt";
        const pid_t pid = fork();
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return pid;
    }

    // The live processes working in the test's folder: mira-run and its workers.
    std::vector<pid_t> ProcessesInFolder() const
    {
        std::vector<pid_t> processes;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
            const std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            std::error_code linkError;
            if (fs::read_symlink(entry.path() / "cwd", linkError) == folder_) {
                processes.push_back(std::stoi(name));
            }
        }
        return processes;
    }

    fs::path folder_;
};
