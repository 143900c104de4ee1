#include "event_log.h"

#include <gtest/gtest.h>

#include <utility>

using namespace MachineEvent;

namespace {

constexpr Event halted{Phase, 0, 0};

int StateNumber(CycleState state)
{
    return static_cast<int>(state);
}

} // namespace

TEST(InstructionCycle, StepLoadsRegisterFromMemoryInDocumentedOrder)
{
    ClearedCpu machine;
    LoadBytes(machine.cpu, 0x0E, {0x2F, 0x00, 0x15, 0x20});
    machine.cpu.SetMemory(0x20, 0x07);
    machine.cpu.SetPc(0x0E);
    machine.cpu.Step();
    ASSERT_EQ(machine.cpu.State(), StateNumber(CycleState::AwaitFetch));
    eventLog.clear();
    machine.cpu.Step();
    EXPECT_EQ(eventLog, (Events{{Phase, 1, 0},
                                {PcGet, 0, 0},
                                {MemoryGet, 0, 16},
                                {MemoryGet, 0, 17},
                                {IrhSet, 21, 0},
                                {IrlSet, 32, 0},
                                {PcSet, 18, 0},
                                {Phase, 2, 0},
                                {IrhGet, 0, 0},
                                {IrlGet, 0, 0},
                                {FieldDecoded, 1, 0},
                                {FieldDecoded, 5, 1},
                                {FieldDecoded, 2, 2},
                                {FieldDecoded, 0, 3},
                                {Phase, 3, 0},
                                {RegisterSet, 7, 5},
                                {MemoryGet, 0, 32}}));
    EXPECT_EQ(machine.cpu.State(), StateNumber(CycleState::AwaitFetch));
}

TEST(InstructionCycle, StatesFollowTheMicroCycle)
{
    struct Transition {
        void (CCpu::*action)();
        std::vector<int> phases;
        CycleState after;
    };
    const Transition transitions[] = {
        {&CCpu::MicroStep, {1}, CycleState::AwaitDecode},
        {&CCpu::MicroStep, {2}, CycleState::AwaitExecute},
        {&CCpu::MicroStep, {3}, CycleState::AwaitFetch},
        {&CCpu::Step, {1, 2, 3, 0}, CycleState::Halted},
        {&CCpu::MicroStep, {}, CycleState::Halted},
        {&CCpu::Step, {}, CycleState::Halted},
        {&CCpu::Reset, {}, CycleState::Restarted},
        {&CCpu::MicroStep, {1}, CycleState::AwaitDecode},
        {&CCpu::Step, {2, 3}, CycleState::AwaitFetch},
    };
    ClearedCpu machine;
    LoadBytes(machine.cpu, 0, {0x21, 0x05, 0xC0, 0x00});
    for (const Transition& transition : transitions) {
        eventLog.clear();
        (machine.cpu.*transition.action)();
        std::vector<int> phases;
        for (const Event& event : eventLog) {
            if (event.code == Phase) {
                phases.push_back(event.value);
            }
        }
        EXPECT_EQ(phases, transition.phases);
        EXPECT_EQ(machine.cpu.State(), StateNumber(transition.after));
    }
}

TEST(InstructionCycle, NewPcTakesEffectAtTheNextFetch)
{
    ClearedCpu machine;
    LoadBytes(machine.cpu, 0x00, {0x21, 0x05});
    LoadBytes(machine.cpu, 0x10, {0x22, 0x07});
    machine.cpu.MicroStep();
    machine.cpu.SetPc(0x10);
    EXPECT_EQ(machine.cpu.State(), StateNumber(CycleState::AwaitDecode));
    machine.cpu.Step();
    EXPECT_EQ(machine.cpu.GetRegister(1), 5);
    machine.cpu.Step();
    EXPECT_EQ(machine.cpu.GetRegister(2), 7);
}

TEST(InstructionCycle, FetchWrapsAroundTheEndOfMemory)
{
    ClearedCpu machine;
    LoadBytes(machine.cpu, 255, {0x21, 0x05});
    machine.cpu.SetPc(255);
    eventLog.clear();
    machine.cpu.MicroStep();
    EXPECT_EQ(eventLog, (Events{{Phase, 1, 0},
                                {PcGet, 0, 0},
                                {MemoryGet, 0, 255},
                                {MemoryGet, 0, 0},
                                {IrhSet, 0x21, 0},
                                {IrlSet, 0x05, 0},
                                {PcSet, 1, 0}}));
}

TEST(InstructionCycle, FetchOfEmptyCellHaltsWithoutChangingRegisters)
{
    for (int emptyCell : {255, 0}) {
        ClearedCpu machine;
        machine.cpu.SetMemory(emptyCell == 255 ? 0 : 255, 0x21);
        machine.cpu.SetPc(255);
        eventLog.clear();
        machine.cpu.MicroStep();
        EXPECT_EQ(eventLog, (Events{{Phase, 1, 0}, ErrorEvent(14, emptyCell), halted}));
        EXPECT_EQ(machine.cpu.Pc(), 255);
        EXPECT_EQ(machine.cpu.Irh() | machine.cpu.Irl(), 0);
    }
}

TEST(InstructionCycle, UndefinedOpcodeHaltsAtInstructionAddress)
{
    const std::pair<int, int> cases[] = {{0x00, 0x30}, {0xD0, 0x30}, {0xE5, 0x30}, {0xF0, 255}};
    for (auto [irh, address] : cases) {
        ClearedCpu machine;
        LoadBytes(machine.cpu, address, {irh, 0x00});
        machine.cpu.SetPc(address);
        machine.cpu.MicroStep();
        eventLog.clear();
        machine.cpu.MicroStep();
        EXPECT_EQ(eventLog, (Events{{Phase, 2, 0}, ErrorEvent(15, address), halted})) << irh;
    }
}

struct InstructionCase {
    const char* name;
    int irh;
    int irl;
    std::vector<std::pair<int, int>> registers;
    Events events; // after Phase 3
};

void PrintTo(const InstructionCase& c, std::ostream* out)
{
    *out << c.name;
}

class Instruction : public testing::TestWithParam<InstructionCase> {};

// The instruction sits at address 64, so 64 is the index of its failure sub-code.
TEST_P(Instruction, ExecutesWithItsEvents)
{
    const InstructionCase& c = GetParam();
    ClearedCpu machine;
    for (auto [number, value] : c.registers) {
        machine.cpu.SetRegister(number, value);
    }
    LoadBytes(machine.cpu, 64, {c.irh, c.irl});
    machine.cpu.SetPc(64);
    machine.cpu.MicroStep();
    machine.cpu.MicroStep();
    eventLog.clear();
    machine.cpu.MicroStep();

    Events expected{{Phase, 3, 0}};
    expected.insert(expected.end(), c.events.begin(), c.events.end());
    EXPECT_EQ(eventLog, expected);
    const bool halts = expected.back() == halted;
    EXPECT_EQ(machine.cpu.State(),
              StateNumber(halts ? CycleState::Halted : CycleState::AwaitFetch));
    for (const Event& event : eventLog) {
        if (event.code == RegisterSet) {
            EXPECT_EQ(machine.cpu.GetRegister(event.index), event.value);
        } else if (event.code == MemorySet) {
            EXPECT_EQ(machine.cpu.GetMemory(event.index), event.value);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    InstructionCycle, Instruction,
    testing::Values(
        InstructionCase{"LoadaEmptyCell",
                        0x13,
                        0x90,
                        {},
                        {ErrorEvent(7, 144), ErrorEvent(8, 3), ErrorEvent(16, 64), halted}},
        InstructionCase{"Load", 0x22, 0xAB, {}, {{RegisterSet, 0xAB, 2}}},
        InstructionCase{"Store", 0x31, 0x80, {{1, 5}}, {{MemorySet, 5, 0x80}, {RegisterGet, 0, 1}}},
        InstructionCase{"StoreEmpty",
                        0x31,
                        0x80,
                        {},
                        {ErrorEvent(9, 1), ErrorEvent(6, 0x80), ErrorEvent(18, 64), halted}},
        InstructionCase{
            "MoveIgnoresR", 0x4F, 0x12, {{1, 7}}, {{RegisterSet, 7, 2}, {RegisterGet, 0, 1}}},
        InstructionCase{"AddWraps",
                        0x50,
                        0x12,
                        {{1, 0x80}, {2, 0x80}},
                        {{RegisterSet, 0, 0}, {RegisterGet, 0, 1}, {RegisterGet, 0, 2}}},
        InstructionCase{
            "AddEmptyCountsAsMinusOne",
            0x53,
            0x12,
            {{2, 5}},
            {ErrorEvent(9, 1), {RegisterSet, 4, 3}, {RegisterGet, 0, 1}, {RegisterGet, 0, 2}}},
        InstructionCase{
            "AddBothEmpty",
            0x53,
            0x12,
            {},
            {ErrorEvent(9, 1), ErrorEvent(9, 2), ErrorEvent(8, 3), ErrorEvent(20, 64), halted}},
        InstructionCase{
            "AndEmptyKeepsOther",
            0x83,
            0x12,
            {{1, 0x3C}},
            {ErrorEvent(9, 2), {RegisterSet, 0x3C, 3}, {RegisterGet, 0, 1}, {RegisterGet, 0, 2}}},
        InstructionCase{"OrEmpty",
                        0x73,
                        0x12,
                        {{1, 5}},
                        {ErrorEvent(9, 2), ErrorEvent(8, 3), ErrorEvent(22, 64), halted}},
        InstructionCase{"Xor",
                        0x93,
                        0x12,
                        {{1, 0x0F}, {2, 0xFF}},
                        {{RegisterSet, 0xF0, 3}, {RegisterGet, 0, 1}, {RegisterGet, 0, 2}}},
        InstructionCase{"XorEmpty",
                        0x93,
                        0x12,
                        {{2, 5}},
                        {ErrorEvent(9, 1), ErrorEvent(8, 3), ErrorEvent(24, 64), halted}},
        InstructionCase{
            "AddfOverflow", 0x63, 0x12, {{1, 0x7F}, {2, 0x7F}}, {ErrorEvent(21, 64), halted}},
        InstructionCase{"RotateByOne", 0xA1, 0x01, {{1, 0x01}}, {{RegisterSet, 0x80, 1}}},
        InstructionCase{"RotateByFour", 0xA1, 0x04, {{1, 0x5A}}, {{RegisterSet, 0xA5, 1}}},
        InstructionCase{"RotateByZero", 0xA1, 0x00, {{1, 0x37}}, {{RegisterSet, 0x37, 1}}},
        InstructionCase{"RotateEmptyGoesOn", 0xA1, 0x01, {}, {ErrorEvent(25, 64)}},
        InstructionCase{"JumpOnEqual",
                        0xB1,
                        0x20,
                        {{0, 3}, {1, 3}},
                        {{RegisterGet, 0, 0}, {RegisterGet, 0, 1}, {PcSet, 0x20, 0}}},
        InstructionCase{"JumpNotEqual", 0xB1, 0x20, {{0, 3}, {1, 4}}, {}},
        InstructionCase{"JumpR0Always",
                        0xB0,
                        0x20,
                        {{0, 9}},
                        {{RegisterGet, 0, 0}, {RegisterGet, 0, 0}, {PcSet, 0x20, 0}}},
        InstructionCase{"JumpR0EmptyStillJumps",
                        0xB0,
                        0x20,
                        {},
                        {ErrorEvent(9, 0),
                         ErrorEvent(9, 0),
                         {RegisterGet, 0, 0},
                         {RegisterGet, 0, 0},
                         {PcSet, 0x20, 0}}},
        InstructionCase{"HaltWithoutError", 0xC5, 0x55, {}, {halted}}),
    [](const testing::TestParamInfo<InstructionCase>& info) { return info.param.name; });

TEST(InstructionCycle, AddfMatchesWorkedValues)
{
    constexpr int fails = -1;
    const int cases[][3] = {
        {0x48, 0x48, 0x58},  {0x48, 0xC8, 0x00},  {0xC8, 0x4C, 0x38}, {0x4C, 0xC8, 0x38},
        {0x3C, 0x44, 0x4A},  {0x6A, 0x5C, 0x78},  {0x58, 0xD4, 0x48}, {0x48, 0x38, 0x4C},
        {0x38, 0x00, 0x38},  {0x80, 0x00, 0x00},  {0x70, 0x08, 0x00}, {0x7F, 0x7F, fails},
        {0x09, 0x88, fails}, {0x01, 0x01, fails},
    };
    for (auto [a, b, sum] : cases) {
        ClearedCpu machine;
        machine.cpu.SetRegister(1, a);
        machine.cpu.SetRegister(2, b);
        LoadBytes(machine.cpu, 0, {0x63, 0x12});
        eventLog.clear();
        machine.cpu.Step();
        EXPECT_EQ(machine.cpu.GetRegister(3), sum) << std::hex << a << " + " << b;
        EXPECT_EQ(machine.cpu.State(),
                  StateNumber(sum == fails ? CycleState::Halted : CycleState::AwaitFetch));
    }
}
