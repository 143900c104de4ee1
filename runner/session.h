#pragma once

#include "assembler/source_file.h"
#include "machine/cpu.h"
#include "runner/error_log.h"
#include "runner/event_routing.h"
#include "runner/options.h"
#include "runner/step_explanation.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

using MemoryImage = std::array<int, CCpu::MemorySize>;

struct MachineState {
    int pc = 0;
    std::array<int, CCpu::RegisterCount> registers{};
    MemoryImage memory{};
};

enum class RunStatus { Halted, Unreadable, NotAssembled, MachineError, StepLimit };

// What a session reports while it goes; an empty function is not called.
struct RunListener {
    std::function<void(const std::string&)> error;   // one error line
    std::function<void(const std::string&)> trace;   // one instruction, before it is executed
    std::function<void(const std::string&)> explain; // one micro-step told, once it is made
};

// The message-log lines for one error, with the texts of the window in hexadecimal.
// `openFileName` is the memory image file the error is about.
std::vector<std::string> ErrorLines(int subCode, int number, const std::string& openFileName);

// One machine, starting with no value in memory and registers, into which a
// program is assembled, loaded and run as the workbench does it.
class Session {
public:
    // `programName` begins the lines of the assembler's errors, with the file's line.
    Session(RunListener listener, std::string programName);

    // The cells of the image that hold a value.
    void LoadImage(const MemoryImage& image);
    void Preset(const Assignment& preset);
    // Assembles the rows that are not empty, numbered by their position in the
    // file, and loads the result; false when the program did not assemble.
    bool AssembleAndLoad(const SourceDocument& document, int startAddress);
    // Steps until the machine halts or `maxSteps` instructions ran. Halted
    // means halted by HALT, whatever errors were reported on the way.
    RunStatus Run(long long maxSteps);
    // Reports the errors that were counted rather than shown.
    void FinishErrors() { errors_.Finish(); }

    bool ErrorSeen() const { return !errors_.Empty(); }
    const std::vector<std::string>& Errors() const { return errors_.Shown(); }
    long long Steps() const { return steps_; }
    MachineState State();

private:
    void HandleEvent(int code, int value, int index);
    std::vector<std::string> LinesOf(int subCode, int number) const;

    RunListener listener_;
    std::string programName_;
    std::vector<int> fileLines_; // of the rows being assembled
    ErrorLog errors_;
    StepExplainer explainer_{listener_.explain};
    EventRoute route_;
    CCpu cpu_{EventRoute::Forward};
    bool errorInStep_ = false;
    long long steps_ = 0;
};
