#include "grading/session.h"

#include "assembler/assembler.h"
#include "assembler/instruction_table.h"
#include "grading/assembled_program.h"
#include "grading/error_log.h"
#include "machine/cpu.h"
#include "machine/micro_step_record.h"
#include "texts/error_messages.h"
#include "texts/micro_step_narration.h"
#include "texts/number_text.h"

#include <algorithm>
#include <utility>

static_assert(MemoryCells == CCpu::MemorySize && RegisterCount == CCpu::RegisterCount);

namespace {

constexpr int FirstLineError = 101; // the assembler's errors about one line: 101..106
constexpr int LastLineError = 106;
// Reading the clock costs more than a step, so a time limit is looked at now and then.
constexpr long long StepsBetweenClockReadings = 4096;

// The machine and the assembler report through a plain function. While an
// EventRoute lives, that function passes their events to its handler; routes
// nest, and the innermost one of the thread receives the events.
class EventRoute {
public:
    using Handler = std::function<void(int code, int value, int index)>;

    explicit EventRoute(Handler handler) : handler_(std::move(handler)), outer_(innermost)
    {
        innermost = this;
    }
    ~EventRoute() { innermost = outer_; }
    EventRoute(const EventRoute&) = delete;
    EventRoute& operator=(const EventRoute&) = delete;

    // The event sink to give to CCpu and CAssembler.
    static void Forward(int code, int value, int index)
    {
        if (innermost != nullptr) {
            innermost->handler_(code, value, index);
        }
    }

private:
    static thread_local EventRoute* innermost;
    Handler handler_;
    EventRoute* outer_;
};

thread_local EventRoute* EventRoute::innermost = nullptr;

std::vector<std::string> ErrorLines(int subCode, int number, const std::string& openFileName)
{
    return ErrorMessageLines(subCode, number, HexRadix, openFileName, {});
}

} // namespace

std::string_view StatusName(RunStatus status)
{
    switch (status) {
    case RunStatus::Halted:
        return "halted";
    case RunStatus::Unreadable:
        return "unreadable";
    case RunStatus::NotAssembled:
        return "not-assembled";
    case RunStatus::MachineError:
        return "machine-error";
    case RunStatus::StepLimit:
        return "step-limit";
    case RunStatus::TimeLimit:
        return "time-limit";
    }
    return {};
}

AssembledProgram AssembleProgram(const ProgramSource& program, int startAddress,
                                 const std::string& programName, const RunListener& listener)
{
    const auto linesOf = [&](int subCode, int number) {
        std::vector<std::string> lines = ErrorLines(subCode, number, {});
        const auto row = std::find_if(program.rows.begin(), program.rows.end(),
                                      [number](const auto& row) { return row.number == number; });
        if (subCode >= FirstLineError && subCode <= LastLineError && row != program.rows.end()) {
            const std::string prefix = programName + ':' + std::to_string(row->fileLine) + ": ";
            for (std::string& line : lines) {
                line.insert(0, prefix);
            }
        }
        return lines;
    };
    ErrorLog errors(linesOf, listener.error);
    AssembledProgram result;
    {
        const EventRoute route([&errors](int code, int value, int index) {
            if (code == MachineEvent::Error) {
                errors.Add(value, index);
            }
        });
        CAssembler assembler(EventRoute::Forward);
        const bool added =
            std::all_of(program.rows.begin(), program.rows.end(), [&](const auto& row) {
                return assembler.AddLine(row.number, row.text.label.c_str(),
                                         row.text.mnemonic.c_str(), row.text.operand.c_str());
            });
        result.assembled = added && assembler.Assemble(startAddress);
        if (result.assembled) {
            int lineCount = 0;
            const SourceLine* lines = assembler.GetResult(result.entryAddress, lineCount);
            result.cells = ProgramImage(lines, lineCount, startAddress);
            ForEachProgramCell(lines, lineCount, startAddress,
                               [&result](int, const SourceLine&, int) { ++result.size; });
        }
    }
    errors.Finish();
    result.errors = errors.Shown();
    return result;
}

struct Session::Machine {
    Machine(RunListener runListener, std::string name)
        : listener(std::move(runListener)), fileName(std::move(name)),
          errors([this](int subCode, int number) { return ErrorLines(subCode, number, fileName); },
                 listener.error),
          route([this](int code, int value, int index) { HandleEvent(code, value, index); })
    {
        cpu.ClearMemory(-1);
        cpu.ClearRegisters(-1);
    }

    void HandleEvent(int code, int value, int index)
    {
        collector.Observe(code, value, index);
        if (code == MachineEvent::Error) {
            errorInStep = true;
            lastError = {value, index};
            errors.Add(value, index);
        } else if (code == MachineEvent::Phase && value == MachinePhase::Execute &&
                   listener.trace) {
            // The execute phase begins: the instruction is fetched and decoded, nothing done yet.
            const int irh = cpu.Irh();
            const int irl = cpu.Irl();
            const int address = (cpu.Pc() + CCpu::MemorySize - 2) % CCpu::MemorySize;
            listener.trace(FormatNumber(address, HexRadix) + "  " + FormatNumber(irh, HexRadix) +
                           FormatNumber(irl, HexRadix) + "  " +
                           InstructionText(irh / 16, irh % 16, irl / 16, irl % 16));
        }
    }

    bool Halted() const { return cpu.State() == static_cast<int>(CycleState::Halted); }

    // One instruction, or what is left of it, as CCpu::Step makes it; with
    // --explain a micro-step at a time, each told once it is made.
    void Step()
    {
        if (!listener.explain) {
            cpu.Step();
            return;
        }
        CycleState cycle = CycleState::AwaitFetch;
        do {
            collector.Begin(cpu.GetState());
            cpu.MicroStep();
            listener.explain(NarrationOf(collector.Finish(), HexRadix));
            cycle = cpu.Control().cycle;
        } while (cycle != CycleState::AwaitFetch && cycle != CycleState::Halted);
    }

    RunListener listener;
    std::string fileName;
    ErrorLog errors;
    CMicroStepCollector collector;
    EventRoute route;
    CCpu cpu{EventRoute::Forward};
    bool errorInStep = false;
    std::pair<int, int> lastError; // sub-code and number
    long long steps = 0;
};

Session::Session(RunListener listener, std::string fileName)
    : machine_(std::make_unique<Machine>(std::move(listener), std::move(fileName)))
{
}

Session::~Session() = default;

void Session::LoadImage(const MemoryImage& image)
{
    for (int address = 0; address < CCpu::MemorySize; ++address) {
        if (image[address] != -1) {
            machine_->cpu.SetMemory(address, image[address]);
        }
    }
}

bool Session::LoadMemoryText(std::string_view text)
{
    return machine_->cpu.LoadMemoryText(text);
}

void Session::Preset(const TargetValue& preset)
{
    if (preset.target == Target::Register) {
        machine_->cpu.SetRegister(preset.index, preset.value);
    } else if (preset.target == Target::Memory) {
        machine_->cpu.SetMemory(preset.index, preset.value);
    }
}

void Session::LoadProgram(const AssembledProgram& program)
{
    LoadProgramImage(machine_->cpu, program.entryAddress, program.cells);
}

RunStatus Session::Run(long long maxSteps, std::optional<std::chrono::duration<double>> timeLimit)
{
    using Clock = std::chrono::steady_clock;
    Machine& machine = *machine_;
    std::optional<Clock::time_point> deadline;
    if (timeLimit) {
        deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(*timeLimit);
    }
    while (!machine.Halted() && machine.steps < maxSteps) {
        if (deadline && machine.steps % StepsBetweenClockReadings == 0 && machine.steps > 0 &&
            Clock::now() >= *deadline) {
            return RunStatus::TimeLimit;
        }
        machine.errorInStep = false;
        machine.Step();
        ++machine.steps;
    }
    if (!machine.Halted()) {
        return RunStatus::StepLimit;
    }
    // Every halt but HALT's comes with the error that caused it.
    return machine.errorInStep ? RunStatus::MachineError : RunStatus::Halted;
}

void Session::FinishErrors()
{
    machine_->errors.Finish();
}

bool Session::ErrorSeen() const
{
    return !machine_->errors.Empty();
}

const std::vector<std::string>& Session::Errors() const
{
    return machine_->errors.Shown();
}

std::string Session::HaltingError() const
{
    const Machine& machine = *machine_;
    if (!machine.Halted() || !machine.errorInStep) {
        return {};
    }
    const std::vector<std::string> lines =
        ErrorLines(machine.lastError.first, machine.lastError.second, machine.fileName);
    return lines.empty() ? std::string() : lines.front();
}

long long Session::Steps() const
{
    return machine_->steps;
}

MachineState Session::State() const
{
    const CpuState cpu = machine_->cpu.GetState();
    MachineState state;
    state.pc = cpu.control.pc;
    std::copy(cpu.registers.begin(), cpu.registers.end(), state.registers.begin());
    std::copy(cpu.memory.begin(), cpu.memory.end(), state.memory.begin());
    return state;
}
