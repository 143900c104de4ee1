#include "event_log.h"

#include <gtest/gtest.h>

#include <map>

using namespace MachineEvent;

// What an observer that sees only the events knows about the machine.
struct ObservedMachine {
    std::map<int, int> registers;
    std::map<int, int> memory;
    int pc = -1;
    int instructions = 0;
    int errors = 0;
    bool halted = false;

    explicit ObservedMachine(const Events& events)
    {
        for (const Event& event : events) {
            switch (event.code) {
            case RegisterSet:
                registers[event.index] = event.value;
                break;
            case MemorySet:
                memory[event.index] = event.value;
                break;
            case PcSet:
                pc = event.value;
                break;
            case Phase:
                instructions += event.value == 3;
                halted = event.value == 0;
                break;
            case Error:
                ++errors;
                break;
            }
        }
    }
};

TEST(Program, CountingLoopRunsToHalt)
{
    ClearedCpu machine;
    LoadBytes(machine.cpu, 0x20,
              {
                  0x21, 0x01, // 20: LOAD R1, 01
                  0x22, 0x00, // 22: LOAD R2, 00      counter
                  0x20, 0x05, // 24: LOAD R0, 05      limit
                  0x52, 0x21, // 26: ADD R2, R2, R1
                  0xB2, 0x2E, // 28: JUMP R2, 2E      leave when the counter reaches the limit
                  0xB0, 0x26, // 2A: JUMP R0, 26
                  0xC0, 0x00, // 2C: HALT            never reached
                  0x32, 0x80, // 2E: STORE R2, 80
                  0xC0, 0x00, // 30: HALT
              });
    machine.cpu.SetStartAddress(0x20);
    machine.cpu.Reset();
    eventLog.clear();
    for (int step = 0; step < 100 && machine.cpu.State() != static_cast<int>(CycleState::Halted);
         ++step) {
        machine.cpu.Step();
    }

    const ObservedMachine observed(eventLog);
    EXPECT_TRUE(observed.halted);
    EXPECT_EQ(observed.errors, 0);
    EXPECT_EQ(observed.instructions, 3 + 4 * 3 + 2 + 2);
    EXPECT_EQ(observed.memory, (std::map<int, int>{{0x80, 5}}));
    EXPECT_EQ(observed.registers, (std::map<int, int>{{0, 5}, {1, 1}, {2, 5}}));
    EXPECT_EQ(observed.pc, 0x32);
}
