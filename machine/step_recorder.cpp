#include "machine/step_recorder.h"

#include <utility>

namespace {

constexpr int HaltOpcode = 12;

bool IsFetch(CycleState cycle)
{
    return cycle == CycleState::AwaitFetch || cycle == CycleState::Restarted;
}

} // namespace

CStepRecorder::CStepRecorder(CCpu& machine) : machine_(machine)
{
    TakeValues();
}

CStepRecorder::Entry CStepRecorder::Pack(const CpuControl& control)
{
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
    return {byte(control.pc),
            byte(control.irh),
            byte(control.irl),
            control.cycle,
            byte(control.opcode * 16 + control.r),
            byte(control.x * 16 + control.y),
            Target::None,
            0,
            0};
}

void CStepRecorder::Undo(const Entry& entry, CpuState& state)
{
    if (entry.target == Target::Memory) {
        state.memory[entry.index] = entry.before;
    } else if (entry.target == Target::Register) {
        state.registers[entry.index] = entry.before;
    }
    CpuControl& control = state.control;
    control.pc = entry.pc;
    control.irh = entry.irh;
    control.irl = entry.irl;
    control.cycle = entry.cycle;
    control.opcode = entry.opcodeAndR / 16;
    control.r = entry.opcodeAndR % 16;
    control.x = entry.xAndY / 16;
    control.y = entry.xAndY % 16;
}

CStepRecorder::Entry& CStepRecorder::Last()
{
    return entries_[(first_ + size_ - 1) % Capacity];
}

void CStepRecorder::MicroStep()
{
    lastBefore_ = machine_.Control();
    if (lastBefore_.cycle == CycleState::Halted) {
        return;
    }
    if (size_ == Capacity) {
        first_ = (first_ + 1) % Capacity; // the oldest gives way
        --size_;
    }
    if (entries_.capacity() == 0) {
        entries_.reserve(Capacity);
    }
    const auto slot = static_cast<std::size_t>((first_ + size_) % Capacity);
    if (slot == entries_.size()) {
        entries_.push_back(Pack(lastBefore_));
    } else {
        entries_[slot] = Pack(lastBefore_);
    }
    ++size_;
    recording_ = true;
    machine_.MicroStep();
    recording_ = false;
    if (lastBefore_.cycle == CycleState::AwaitExecute) {
        ++instructions_;
    }
}

bool CStepRecorder::Observe(int code, int value, int index)
{
    if (restoring_) {
        return false;
    }
    const bool writesMemory = code == MachineEvent::MemorySet;
    const bool writes = writesMemory || code == MachineEvent::RegisterSet;
    // A micro-step writes one cell or register at most; a record that could
    // not undo a second write would not be exact, so it is emptied instead.
    if (writes && recording_ && size_ > 0 && Last().target == Target::None) {
        int& written = writesMemory ? memory_[index] : registers_[index];
        Entry& entry = Last();
        entry.target = writesMemory ? Target::Memory : Target::Register;
        entry.index = static_cast<std::uint8_t>(index);
        entry.before = static_cast<std::int16_t>(std::exchange(written, value));
        return false;
    }
    const bool changesControl = code == MachineEvent::StartSet || code == MachineEvent::PcSet ||
                                code == MachineEvent::IrhSet || code == MachineEvent::IrlSet ||
                                code == MachineEvent::FieldDecoded;
    if (writes || (changesControl && !recording_)) {
        Forget();
        return !recording_;
    }
    return false;
}

bool CStepRecorder::LastExecutedHalt() const
{
    return lastBefore_.cycle == CycleState::AwaitExecute && lastBefore_.opcode == HaltOpcode;
}

int CStepRecorder::MicroStepsBack(int count)
{
    return Back(count, false);
}

int CStepRecorder::InstructionBack()
{
    return Back(Capacity, true);
}

int CStepRecorder::Back(int count, bool toFetch)
{
    CpuState state = machine_.GetState();
    int undone = 0;
    while (undone < count && size_ > 0) {
        const Entry entry = Last();
        --size_;
        ++undone;
        Undo(entry, state);
        if (entry.cycle == CycleState::AwaitExecute) {
            --instructions_;
        }
        if (toFetch && IsFetch(entry.cycle)) {
            break;
        }
    }
    if (undone > 0) {
        restoring_ = true;
        machine_.RestoreState(state);
        restoring_ = false;
        TakeValues();
    }
    return undone;
}

void CStepRecorder::Forget()
{
    first_ = 0;
    size_ = 0;
    entries_.clear();
    TakeValues();
}

void CStepRecorder::TakeValues()
{
    const CpuState state = machine_.GetState();
    memory_ = state.memory;
    registers_ = state.registers;
}

void CStepRecorder::Restart()
{
    Forget();
    instructions_ = 0;
}
