#include "machine/cpu.h"

#include <ctime>
#include <random>

CCpu::CCpu(EventSink sink) : sink_(sink)
{
    std::mt19937 random(static_cast<std::mt19937::result_type>(std::time(nullptr)));
    for (int address = 0; address < MemorySize; ++address) {
        memory_[address] = static_cast<int>(random() % 256);
        Send(MachineEvent::MemorySet, memory_[address], address);
    }
    for (int number = 0; number < RegisterCount; ++number) {
        registers_[number] = static_cast<int>(random() % 256);
        Send(MachineEvent::RegisterSet, registers_[number], number);
    }
}

bool CCpu::SetMemory(int address, int value)
{
    if (!IsByte(address)) {
        Send(MachineEvent::Error, MachineError::MemoryWriteAddress, address);
        return false;
    }
    if (!IsByte(value)) {
        Send(MachineEvent::Error, MachineError::MemoryWriteValue, address);
        return false;
    }
    memory_[address] = value;
    Send(MachineEvent::MemorySet, value, address);
    return true;
}

int CCpu::GetMemory(int address)
{
    if (!IsByte(address)) {
        Send(MachineEvent::Error, MachineError::MemoryReadAddress, address);
        return -1;
    }
    return memory_[address];
}

void CCpu::ClearMemory(int value)
{
    if (!IsByte(value)) {
        value = -1;
    }
    for (int address = 0; address < MemorySize; ++address) {
        memory_[address] = value;
        Send(MachineEvent::MemorySet, value, address);
    }
}

bool CCpu::SetRegister(int number, int value)
{
    if (number < 0 || number >= RegisterCount) {
        Send(MachineEvent::Error, MachineError::RegisterWriteNumber, number);
        return false;
    }
    if (!IsByte(value)) {
        Send(MachineEvent::Error, MachineError::RegisterWriteValue, number);
        return false;
    }
    registers_[number] = value;
    Send(MachineEvent::RegisterSet, value, number);
    return true;
}

int CCpu::GetRegister(int number)
{
    if (number < 0 || number >= RegisterCount) {
        Send(MachineEvent::Error, MachineError::RegisterReadNumber, number);
        return -1;
    }
    return registers_[number];
}

void CCpu::ClearRegisters(int value)
{
    if (!IsByte(value)) {
        value = -1;
    }
    for (int number = 0; number < RegisterCount; ++number) {
        registers_[number] = value;
        Send(MachineEvent::RegisterSet, value, number);
    }
}

void CCpu::SetStartAddress(int address)
{
    if (!IsByte(address)) {
        Send(MachineEvent::Error, MachineError::StartAddressRange, address);
        return;
    }
    startAddress_ = address;
    state_ = CycleState::Restarted;
    Send(MachineEvent::StartSet, address, 0);
}

void CCpu::SetPc(int value)
{
    if (!IsByte(value)) {
        Send(MachineEvent::Error, MachineError::PcRange, value);
        return;
    }
    pc_ = value;
    Send(MachineEvent::PcSet, value, 0);
}

// The stored instruction register and fields stay as they are: the next
// micro-step fetches anew, so only the display is cleared.
void CCpu::Reset()
{
    pc_ = startAddress_;
    Send(MachineEvent::PcSet, pc_, 0);
    Send(MachineEvent::IrhSet, 0, 0);
    Send(MachineEvent::IrlSet, 0, 0);
    for (int field = 0; field < 4; ++field) {
        Send(MachineEvent::FieldDecoded, 0, field);
    }
    state_ = CycleState::Restarted;
}

void CCpu::Halt()
{
    state_ = CycleState::Halted;
    Send(MachineEvent::Phase, MachinePhase::Halted, 0);
}

// Built in place: the window takes the state before every micro-step.
CpuState CCpu::GetState() const
{
    return {Control(), memory_, registers_};
}

void CCpu::RestoreState(const CpuState& state)
{
    const CpuControl& control = state.control;
    opcode_ = control.opcode;
    r_ = control.r;
    x_ = control.x;
    y_ = control.y;
    const int fields[] = {opcode_, r_, x_, y_};
    for (int field = 0; field < 4; ++field) {
        Send(MachineEvent::FieldDecoded, fields[field], field);
    }
    // The phase comes after the fields: a fetch leaves the listing of the
    // fields it has not decoded yet empty.
    state_ = control.cycle;
    switch (state_) {
    case CycleState::AwaitDecode:
        Send(MachineEvent::Phase, MachinePhase::Fetch, 0);
        break;
    case CycleState::AwaitExecute:
        Send(MachineEvent::Phase, MachinePhase::Decode, 0);
        break;
    case CycleState::AwaitFetch:
        Send(MachineEvent::Phase, MachinePhase::Execute, 0);
        break;
    case CycleState::Halted:
        Send(MachineEvent::Phase, MachinePhase::Halted, 0);
        break;
    case CycleState::Restarted:
        break;
    }
    const auto restore = [this](int& field, int value, int code, int index) {
        if (field != value) {
            field = value;
            Send(code, value, index);
        }
    };
    restore(startAddress_, control.startAddress, MachineEvent::StartSet, 0);
    restore(pc_, control.pc, MachineEvent::PcSet, 0);
    restore(irh_, control.irh, MachineEvent::IrhSet, 0);
    restore(irl_, control.irl, MachineEvent::IrlSet, 0);
    for (int number = 0; number < RegisterCount; ++number) {
        restore(registers_[number], state.registers[number], MachineEvent::RegisterSet, number);
    }
    for (int address = 0; address < MemorySize; ++address) {
        restore(memory_[address], state.memory[address], MachineEvent::MemorySet, address);
    }
}
