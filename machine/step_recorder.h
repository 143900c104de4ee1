#pragma once

#include "machine/cpu.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Makes the machine's micro-steps and records each of them, compactly enough
// to keep the last Capacity: the control fields before it and the one cell or
// register it wrote, with the value that was there. Going back puts the
// machine exactly as it was. A write that no recorded micro-step made (a
// command, a typed value) empties the record, whose steps no longer lead to
// the machine as it is.
class CStepRecorder {
public:
    static constexpr int Capacity = 100000; // micro-steps

    // The machine's events must be handed on to Observe.
    explicit CStepRecorder(CCpu& machine);

    // One micro-step of the machine, recorded; nothing on a halted machine.
    void MicroStep();
    // True when the event changed the machine from outside the record.
    bool Observe(int code, int value, int index);

    int Size() const { return size_; } // the micro-steps that can be undone
    // Undoes up to `count` micro-steps; returns how many it undid.
    int MicroStepsBack(int count);
    // Undoes micro-steps up to the last fetch: back to before the instruction
    // under way, or before the previous one between two instructions.
    int InstructionBack();
    // Empties the record; Restart also starts the count of instructions anew.
    void Forget();
    void Restart();

    // Instructions executed since the last Restart, less those undone.
    long long InstructionsRun() const { return instructions_; }
    // The control fields before the last micro-step made.
    const CpuControl& LastBefore() const { return lastBefore_; }
    // Whether the last micro-step was the execute of a HALT instruction.
    bool LastExecutedHalt() const;
    // The storage of a full record.
    static constexpr std::size_t FullSize() { return Capacity * sizeof(Entry); }

private:
    enum class Target : std::uint8_t { None, Memory, Register };
    struct Entry {
        std::uint8_t pc;
        std::uint8_t irh;
        std::uint8_t irl;
        CycleState cycle;
        std::uint8_t opcodeAndR;
        std::uint8_t xAndY;
        Target target;
        std::uint8_t index;
        std::int16_t before;
    };

    static Entry Pack(const CpuControl& control);
    static void Undo(const Entry& entry, CpuState& state);
    Entry& Last();
    void TakeValues(); // memory and registers from the machine
    // Undoes micro-steps until `count` are undone or, with `toFetch`, a fetch is.
    int Back(int count, bool toFetch);

    CCpu& machine_;
    std::vector<Entry> entries_; // a ring of at most Capacity entries
    int first_ = 0;
    int size_ = 0;
    bool recording_ = false;
    bool restoring_ = false;
    long long instructions_ = 0;
    CpuControl lastBefore_;
    // Memory and registers as the machine holds them: the values writes replace.
    std::array<int, CCpu::MemorySize> memory_{};
    std::array<int, CCpu::RegisterCount> registers_{};
};
