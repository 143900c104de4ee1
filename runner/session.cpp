#include "runner/session.h"

#include "assembler/assembler.h"
#include "assembler/instruction_table.h"
#include "assembler/program_image.h"
#include "texts/error_messages.h"
#include "texts/number_text.h"

#include <utility>

namespace {

constexpr int FirstLineError = 101; // the assembler's errors about one line: 101..106
constexpr int LastLineError = 106;

} // namespace

std::vector<std::string> ErrorLines(int subCode, int number, const std::string& openFileName)
{
    return ErrorMessageLines(subCode, number, HexRadix, openFileName, {});
}

Session::Session(RunListener listener, std::string programName)
    : listener_(std::move(listener)), programName_(std::move(programName)),
      errors_([this](int subCode, int number) { return LinesOf(subCode, number); },
              listener_.error),
      route_([this](int code, int value, int index) { HandleEvent(code, value, index); })
{
    cpu_.ClearMemory(-1);
    cpu_.ClearRegisters(-1);
}

void Session::LoadImage(const MemoryImage& image)
{
    for (int address = 0; address < CCpu::MemorySize; ++address) {
        if (image[address] != -1) {
            cpu_.SetMemory(address, image[address]);
        }
    }
}

void Session::Preset(const Assignment& preset)
{
    if (preset.target == Target::Register) {
        cpu_.SetRegister(preset.index, preset.value);
    } else if (preset.target == Target::Memory) {
        cpu_.SetMemory(preset.index, preset.value);
    }
}

bool Session::AssembleAndLoad(const SourceDocument& document, int startAddress)
{
    fileLines_ = document.fileLines;
    CAssembler assembler(EventRoute::Forward);
    if (!AddProgramRows(assembler, document.rows) || !assembler.Assemble(startAddress)) {
        return false;
    }
    LoadProgram(cpu_, assembler, startAddress);
    return true;
}

RunStatus Session::Run(long long maxSteps)
{
    const int halted = static_cast<int>(CycleState::Halted);
    while (cpu_.State() != halted && steps_ < maxSteps) {
        errorInStep_ = false;
        if (listener_.explain) {
            explainer_.Step(cpu_);
        } else {
            cpu_.Step();
        }
        ++steps_;
    }
    if (cpu_.State() != halted) {
        return RunStatus::StepLimit;
    }
    // Every halt but HALT's comes with the error that caused it.
    return errorInStep_ ? RunStatus::MachineError : RunStatus::Halted;
}

MachineState Session::State()
{
    MachineState state;
    state.pc = cpu_.Pc();
    for (int number = 0; number < CCpu::RegisterCount; ++number) {
        state.registers[number] = cpu_.GetRegister(number);
    }
    for (int address = 0; address < CCpu::MemorySize; ++address) {
        state.memory[address] = cpu_.GetMemory(address);
    }
    return state;
}

// An error about a row starts with the file's name and line, as compilers
// write it, so that editors can jump to it.
std::vector<std::string> Session::LinesOf(int subCode, int number) const
{
    std::vector<std::string> lines = ErrorLines(subCode, number, {});
    const bool aboutRow = subCode >= FirstLineError && subCode <= LastLineError && number >= 1 &&
                          number <= static_cast<int>(fileLines_.size());
    if (aboutRow) {
        const std::string prefix =
            programName_ + ':' + std::to_string(fileLines_[number - 1]) + ": ";
        for (std::string& line : lines) {
            line.insert(0, prefix);
        }
    }
    return lines;
}

void Session::HandleEvent(int code, int value, int index)
{
    explainer_.Observe(code, value, index);
    if (code == MachineEvent::Error) {
        errorInStep_ = true;
        errors_.Add(value, index);
    } else if (code == MachineEvent::Phase && value == MachinePhase::Execute && listener_.trace) {
        // The execute phase begins: the instruction is fetched and decoded, nothing done yet.
        const int irh = cpu_.Irh();
        const int irl = cpu_.Irl();
        const int address = (cpu_.Pc() + CCpu::MemorySize - 2) % CCpu::MemorySize;
        listener_.trace(FormatNumber(address, HexRadix) + "  " + FormatNumber(irh, HexRadix) +
                        FormatNumber(irl, HexRadix) + "  " +
                        InstructionText(irh / 16, irh % 16, irl / 16, irl % 16));
    }
}
