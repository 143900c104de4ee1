#include "machine/cpu.h"
#include "machine/float_byte.h"

namespace {

enum class Opcode : int {
    Loada = 1,
    Load,
    Store,
    Move,
    Add,
    Addf,
    Or,
    And,
    Xor,
    Rotate,
    Jump,
    Halt,
};

int Wrap(int address)
{
    return address % CCpu::MemorySize;
}

} // namespace

void CCpu::MicroStep()
{
    if (state_ == CycleState::Restarted) {
        state_ = CycleState::AwaitFetch;
    }
    bool succeeded = false;
    CycleState next = state_;
    switch (state_) {
    case CycleState::AwaitFetch:
        succeeded = Fetch();
        next = CycleState::AwaitDecode;
        break;
    case CycleState::AwaitDecode:
        succeeded = Decode();
        next = CycleState::AwaitExecute;
        break;
    case CycleState::AwaitExecute:
        succeeded = Execute();
        next = CycleState::AwaitFetch;
        break;
    default:
        return;
    }
    if (succeeded) {
        state_ = next;
    } else {
        Halt();
    }
}

void CCpu::Step()
{
    do {
        MicroStep();
    } while (state_ != CycleState::AwaitFetch && state_ != CycleState::Halted);
}

bool CCpu::Fetch()
{
    Send(MachineEvent::Phase, MachinePhase::Fetch, 0);
    const int second = Wrap(pc_ + 1);
    const int high = GetMemory(pc_);
    const int low = GetMemory(second);
    if (high == -1) {
        Send(MachineEvent::Error, MachineError::FetchCellEmpty, pc_);
        return false;
    }
    if (low == -1) {
        Send(MachineEvent::Error, MachineError::FetchCellEmpty, second);
        return false;
    }
    Send(MachineEvent::PcGet, 0, 0);
    Send(MachineEvent::MemoryGet, 0, pc_);
    Send(MachineEvent::MemoryGet, 0, second);
    irh_ = high;
    irl_ = low;
    pc_ = Wrap(pc_ + 2);
    Send(MachineEvent::IrhSet, irh_, 0);
    Send(MachineEvent::IrlSet, irl_, 0);
    Send(MachineEvent::PcSet, pc_, 0);
    return true;
}

bool CCpu::Decode()
{
    Send(MachineEvent::Phase, MachinePhase::Decode, 0);
    const int opcode = irh_ / 16;
    if (opcode < static_cast<int>(Opcode::Loada) || opcode > static_cast<int>(Opcode::Halt)) {
        Send(MachineEvent::Error, MachineError::UndefinedOpcode, InstructionAddress());
        return false;
    }
    Send(MachineEvent::IrhGet, 0, 0);
    Send(MachineEvent::IrlGet, 0, 0);
    opcode_ = opcode;
    r_ = irh_ % 16;
    x_ = irl_ / 16;
    y_ = irl_ % 16;
    Send(MachineEvent::FieldDecoded, opcode_, 0);
    Send(MachineEvent::FieldDecoded, r_, 1);
    Send(MachineEvent::FieldDecoded, x_, 2);
    Send(MachineEvent::FieldDecoded, y_, 3);
    return true;
}

bool CCpu::Execute()
{
    Send(MachineEvent::Phase, MachinePhase::Execute, 0);
    const int xy = irl_;
    switch (static_cast<Opcode>(opcode_)) {
    case Opcode::Loada: {
        const int value = GetMemory(xy);
        if (value == -1) {
            Send(MachineEvent::Error, MachineError::LoadaCellEmpty, xy);
        }
        if (!SetRegister(r_, value)) {
            return FailInstruction();
        }
        Send(MachineEvent::MemoryGet, 0, xy);
        return true;
    }
    case Opcode::Load:
        return SetRegister(r_, xy) || FailInstruction();
    case Opcode::Store:
        if (!SetMemory(xy, ReadOperand(r_))) {
            return FailInstruction();
        }
        Send(MachineEvent::RegisterGet, 0, r_);
        return true;
    case Opcode::Move:
        if (!SetRegister(y_, ReadOperand(x_))) {
            return FailInstruction();
        }
        Send(MachineEvent::RegisterGet, 0, x_);
        return true;
    case Opcode::Add:
    case Opcode::Addf:
    case Opcode::Or:
    case Opcode::And:
    case Opcode::Xor: {
        const bool written = static_cast<Opcode>(opcode_) == Opcode::Addf ? AddFloat() : Combine();
        if (!written) {
            return FailInstruction();
        }
        Send(MachineEvent::RegisterGet, 0, x_);
        Send(MachineEvent::RegisterGet, 0, y_);
        return true;
    }
    case Opcode::Rotate:
        Rotate();
        return true;
    case Opcode::Jump:
        Jump();
        return true;
    case Opcode::Halt:
        break;
    }
    return false;
}

// ADD, OR, AND and XOR work on the plain integers, so an operand without
// value (-1) takes part as -1 and the register write decides.
bool CCpu::Combine()
{
    const int a = ReadOperand(x_);
    const int b = ReadOperand(y_);
    int result = 0;
    switch (static_cast<Opcode>(opcode_)) {
    case Opcode::Add:
        result = (a + b) % 256;
        break;
    case Opcode::Or:
        result = a | b;
        break;
    case Opcode::And:
        result = a & b;
        break;
    default:
        result = a ^ b;
        break;
    }
    return SetRegister(r_, result);
}

bool CCpu::AddFloat()
{
    const int a = ReadOperand(x_);
    const int b = ReadOperand(y_);
    const FloatSum sum = AddFloatBytes(a, b);
    return sum.fits && SetRegister(r_, sum.result);
}

// An empty register is reported but does not halt the machine.
void CCpu::Rotate()
{
    int value = registers_[r_];
    if (!IsByte(value)) {
        Send(MachineEvent::Error, MachineError::RotateEmpty, InstructionAddress());
        return;
    }
    for (int count = 0; count < y_; ++count) {
        value = value / 2 + value % 2 * 128;
    }
    registers_[r_] = value;
    Send(MachineEvent::RegisterSet, value, r_);
}

void CCpu::Jump()
{
    const int a = ReadOperand(r_);
    const int b = ReadOperand(0);
    if (a != b) {
        return;
    }
    Send(MachineEvent::RegisterGet, 0, 0);
    Send(MachineEvent::RegisterGet, 0, r_);
    SetPc(irl_);
}

int CCpu::ReadOperand(int number)
{
    const int value = GetRegister(number);
    if (value == -1) {
        Send(MachineEvent::Error, MachineError::RegisterEmpty, number);
    }
    return value;
}

// Each instruction's failure sub-code follows its opcode: 16 for LOADA up to 24 for XOR.
bool CCpu::FailInstruction()
{
    Send(MachineEvent::Error, MachineError::LoadaFailed + opcode_ - static_cast<int>(Opcode::Loada),
         InstructionAddress());
    return false;
}

int InstructionAddressOf(const CpuControl& control)
{
    switch (control.cycle) {
    case CycleState::AwaitFetch:
    case CycleState::Restarted:
        return control.pc;
    case CycleState::AwaitDecode:
    case CycleState::AwaitExecute:
        return Wrap(control.pc + 254);
    default:
        return -1;
    }
}
