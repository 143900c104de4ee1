#pragma once

#include "grading/machine_state.h"
#include "grading/program_source.h"
#include "grading/target_value.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AssembledProgram;

enum class RunStatus { Halted, Unreadable, NotAssembled, MachineError, StepLimit, TimeLimit };

// "halted", "unreadable", "not-assembled", "machine-error", "step-limit" or "time-limit".
std::string_view StatusName(RunStatus status);

// What assembling and running report while they go; an empty function is not called.
struct RunListener {
    std::function<void(const std::string&)> error;   // one error line
    std::function<void(const std::string&)> trace;   // one instruction, before it is executed
    std::function<void(const std::string&)> explain; // one micro-step told, once it is made
};

// Assembles the rows from `startAddress`, with the window's error texts in
// hexadecimal; an error about a row begins with `programName` and the row's
// file line ("p.asm:4: "), as compilers write it, so that editors can jump to it.
AssembledProgram AssembleProgram(const ProgramSource& program, int startAddress,
                                 const std::string& programName, const RunListener& listener);

// One machine, starting with no value in memory and registers, into which a
// program is loaded and run as the workbench does it. The machine reports
// through a plain function, so sessions must end in the reverse order of
// their start: the newest one of a thread receives the events.
class Session {
public:
    // `fileName` is the file that errors about reading a memory image name.
    Session(RunListener listener, std::string fileName);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The cells of the image that hold a value.
    void LoadImage(const MemoryImage& image);
    // A memory image file's text, read as the workbench's Load Memory reads
    // it; false, after its error, at the first word that is not a valid pair.
    bool LoadMemoryText(std::string_view text);
    void Preset(const TargetValue& preset);
    // As Load does: start address and PC at the entry address, then the cells.
    void LoadProgram(const AssembledProgram& program);
    // Steps until the machine halts, `maxSteps` instructions ran or the time
    // limit passed. Halted means halted by HALT, whatever errors were
    // reported on the way.
    RunStatus Run(long long maxSteps, std::optional<std::chrono::duration<double>> timeLimit);
    // Reports the errors that were counted rather than shown.
    void FinishErrors();

    bool ErrorSeen() const;
    const std::vector<std::string>& Errors() const;
    // The first line of the error that halted the machine; empty when HALT
    // halted it or it runs.
    std::string HaltingError() const;
    long long Steps() const;
    MachineState State() const;

private:
    struct Machine;
    std::unique_ptr<Machine> machine_;
};
