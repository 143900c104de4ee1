#include "assembler/assembler.h"
#include "machine/cpu.h"

#include <gtest/gtest.h>

namespace {

void IgnoreEvent(int, int, int) {}

struct Row {
    const char* label;
    const char* mnemonic;
    const char* operand;
};

} // namespace

// A program goes from source lines through both passes into memory, the way
// the window's Load does, and runs on the machine until its HALT.
TEST(AssembledProgramTest, SumsALoopCounterOnTheMachine)
{
    const Row program[] = {
        {"", "LOAD", "R1,00"}, // sum
        {"", "LOAD", "R2,01"}, // step
        {"", "LOAD", "R0,05"}, // last value
        {"", "LOAD", "R3,00"}, // counter
        {"LOOP", "ADD", "R3,R3,R2"}, {"", "ADD", "R1,R1,R3"},         {"", "JUMP", "R3,@DONE"},
        {"", "JUMP", "R0,@LOOP"},    {"DONE", "STORE", "R1,@RESULT"}, {"", "HALT", ""},
        {"RESULT", "DB", ""},
    };
    CAssembler assembler(IgnoreEvent);
    int line = 1;
    for (const Row& row : program) {
        ASSERT_TRUE(assembler.AddLine(line++, row.label, row.mnemonic, row.operand));
    }
    ASSERT_TRUE(assembler.Assemble(0x20));

    int entry = -1;
    int count = 0;
    const SourceLine* lines = assembler.GetResult(entry, count);
    CCpu cpu(IgnoreEvent);
    cpu.ClearMemory(-1);
    cpu.SetStartAddress(entry);
    cpu.SetPc(entry);
    int address = 0x20;
    for (int i = 0; i < count; ++i) {
        const int value = lines[i].value;
        if (value < 0) {
            address = (address + 1) % 256;
        } else if (value < 256) {
            cpu.SetMemory(address++, value);
        } else {
            cpu.SetMemory(address++, value / 256);
            cpu.SetMemory(address++, value % 256);
        }
    }
    for (int steps = 0; steps < 1000 && cpu.State() != static_cast<int>(CycleState::Halted);
         ++steps) {
        cpu.Step();
    }
    EXPECT_EQ(cpu.State(), static_cast<int>(CycleState::Halted));
    EXPECT_EQ(cpu.GetRegister(1), 15); // 1 + 2 + 3 + 4 + 5
    EXPECT_EQ(cpu.GetMemory(0x20 + 2 * 10), 15);
}
