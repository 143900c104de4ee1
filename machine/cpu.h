#pragma once

#include "machine/machine_event.h"

#include <array>
#include <string>
#include <string_view>

enum class CycleState : unsigned char {
    AwaitDecode = 0,
    AwaitExecute = 1,
    AwaitFetch = 2,
    Halted = 3,
    Restarted = 4,
};

// Error sub-codes the machine sends with MachineEvent::Error.
namespace MachineError {
enum Code : int {
    MemoryFileOpen = 0,
    MemoryFileCreate = 1,
    MemoryFileWrite = 2,
    MemoryFilePair = 3,
    MemoryWriteAddress = 4,
    MemoryReadAddress = 5,
    MemoryWriteValue = 6,
    LoadaCellEmpty = 7,
    RegisterWriteValue = 8,
    RegisterEmpty = 9,
    RegisterWriteNumber = 10,
    RegisterReadNumber = 11,
    StartAddressRange = 12,
    PcRange = 13,
    FetchCellEmpty = 14,
    UndefinedOpcode = 15,
    LoadaFailed = 16,
    LoadFailed = 17,
    StoreFailed = 18,
    MoveFailed = 19,
    AddFailed = 20,
    AddfFailed = 21,
    OrFailed = 22,
    AndFailed = 23,
    XorFailed = 24,
    RotateEmpty = 25,
};
} // namespace MachineError

// The machine's fields besides memory and registers, in the order of its data.
struct CpuControl {
    int startAddress = 0;
    int pc = 0;
    int irh = 0;
    int irl = 0;
    CycleState cycle = CycleState::Restarted;
    int opcode = 0;
    int r = 0;
    int x = 0;
    int y = 0;
    bool operator==(const CpuControl&) const = default;
};

// Everything the machine holds, as a value.
struct CpuState {
    CpuControl control;
    std::array<int, 256> memory{};
    std::array<int, 16> registers{};
    bool operator==(const CpuState&) const = default;
};

// The address of the instruction that the next micro-step works on: PC before
// a fetch, the fetched instruction's address before its decode or execute; -1
// for a halted machine.
int InstructionAddressOf(const CpuControl& control);

// The simulated 8-bit computer: 256 memory cells, 16 registers, PC, start
// address and a two-byte instruction register. Every change is reported
// synchronously to the event sink; -1 in a cell or register means "no value".
class CCpu {
public:
    static constexpr int MemorySize = 256;
    static constexpr int RegisterCount = 16;

    explicit CCpu(EventSink sink);
    CCpu(const CCpu&) = delete;
    CCpu& operator=(const CCpu&) = delete;

    bool SetMemory(int address, int value);
    int GetMemory(int address);
    void ClearMemory(int value);
    bool SetRegister(int number, int value);
    int GetRegister(int number);
    void ClearRegisters(int value);
    void SetStartAddress(int address);
    void SetPc(int value);
    void Reset();
    void Halt();
    void MicroStep();
    void Step();
    bool SaveMemoryFile(const std::string& fileName);
    bool LoadMemoryFile(const std::string& fileName);
    // Loads the pairs of a memory image's text, as LoadMemoryFile does once it
    // has read the file.
    bool LoadMemoryText(std::string_view text);

    // Read-only accessors for tests, tools and the window's run control.
    int StartAddress() const { return startAddress_; }
    int Pc() const { return pc_; }
    int Irh() const { return irh_; }
    int Irl() const { return irl_; }
    int State() const { return static_cast<int>(state_); }

    // The whole state, read and put back (stepping back uses these).
    CpuControl Control() const
    {
        return {startAddress_, pc_, irh_, irl_, state_, opcode_, r_, x_, y_};
    }
    CpuState GetState() const;
    // Stores a state read with GetState and reports it: the four decoded
    // fields; the phase that leads to its cycle state (fetch before a decode,
    // decode before an execute, execute before a fetch, 0 when halted, none
    // when restarted); then each other field that changes, as the event that
    // writes it: start address, PC, IRH, IRL, registers and cells by number.
    void RestoreState(const CpuState& state);

private:
    static bool IsByte(int value) { return value >= 0 && value <= 255; }
    int InstructionAddress() const { return (pc_ + 254) % MemorySize; }

    bool Fetch();
    bool Decode();
    bool Execute();
    bool Combine();
    bool AddFloat();
    void Rotate();
    void Jump();
    int ReadOperand(int number);
    bool FailInstruction();
    void Send(int code, int value, int index) const { sink_(code, value, index); }

    int startAddress_ = 0;
    int pc_ = 0;
    int irh_ = 0;
    int irl_ = 0;
    std::array<int, MemorySize> memory_;
    std::array<int, RegisterCount> registers_;
    CycleState state_ = CycleState::Restarted;
    int opcode_ = 0;
    int r_ = 0;
    int x_ = 0;
    int y_ = 0;
    EventSink sink_;
};
