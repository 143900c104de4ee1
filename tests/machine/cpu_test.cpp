#include "event_log.h"

#include <gtest/gtest.h>

#include <functional>

using namespace MachineEvent;

TEST(Cpu, ConstructionFillsMemoryThenRegistersWithRandomBytes)
{
    eventLog.clear();
    CCpu cpu(RecordEvent);
    ASSERT_EQ(eventLog.size(), 272u);
    for (int i = 0; i < 272; ++i) {
        const Event& event = eventLog[i];
        const bool isMemory = i < 256;
        EXPECT_EQ(event.code, isMemory ? MemorySet : RegisterSet);
        EXPECT_EQ(event.index, isMemory ? i : i - 256);
        EXPECT_GE(event.value, 0);
        EXPECT_LE(event.value, 255);
        EXPECT_EQ(isMemory ? cpu.GetMemory(i) : cpu.GetRegister(i - 256), event.value);
    }
    EXPECT_EQ(cpu.State(), static_cast<int>(CycleState::Restarted));
    EXPECT_EQ(cpu.Pc() | cpu.StartAddress() | cpu.Irh() | cpu.Irl(), 0);
}

struct AccessCase {
    const char* name;
    std::function<int(CCpu&)> call;
    int result;
    Events events;
};

void PrintTo(const AccessCase& c, std::ostream* out)
{
    *out << c.name;
}

class Access : public testing::TestWithParam<AccessCase> {};

TEST_P(Access, TestsRangesAndReports)
{
    ClearedCpu machine;
    EXPECT_EQ(GetParam().call(machine.cpu), GetParam().result);
    EXPECT_EQ(eventLog, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Cpu, Access,
    testing::Values(
        AccessCase{"SetMemoryAddress",
                   [](CCpu& c) { return c.SetMemory(256, 5); },
                   false,
                   {ErrorEvent(4, 256)}},
        AccessCase{"SetMemoryAddressFirst",
                   [](CCpu& c) { return c.SetMemory(-1, -1); },
                   false,
                   {ErrorEvent(4, -1)}},
        AccessCase{"SetMemoryValue",
                   [](CCpu& c) { return c.SetMemory(3, 256); },
                   false,
                   {ErrorEvent(6, 3)}},
        AccessCase{"SetMemoryNoValue",
                   [](CCpu& c) { return c.SetMemory(3, -1); },
                   false,
                   {ErrorEvent(6, 3)}},
        AccessCase{
            "SetMemory", [](CCpu& c) { return c.SetMemory(255, 0); }, true, {{MemorySet, 0, 255}}},
        AccessCase{
            "GetMemoryAddress", [](CCpu& c) { return c.GetMemory(300); }, -1, {ErrorEvent(5, 300)}},
        AccessCase{"GetMemoryEmpty", [](CCpu& c) { return c.GetMemory(0); }, -1, {}},
        AccessCase{"SetRegisterNumber",
                   [](CCpu& c) { return c.SetRegister(16, 0); },
                   false,
                   {ErrorEvent(10, 16)}},
        AccessCase{"SetRegisterValue",
                   [](CCpu& c) { return c.SetRegister(2, -1); },
                   false,
                   {ErrorEvent(8, 2)}},
        AccessCase{"SetRegister",
                   [](CCpu& c) { return c.SetRegister(15, 255); },
                   true,
                   {{RegisterSet, 255, 15}}},
        AccessCase{"GetRegisterNumber",
                   [](CCpu& c) { return c.GetRegister(-1); },
                   -1,
                   {ErrorEvent(11, -1)}},
        AccessCase{"StartAddress",
                   [](CCpu& c) {
                       c.SetStartAddress(256);
                       return c.StartAddress();
                   },
                   0,
                   {ErrorEvent(12, 256)}},
        AccessCase{"PcNegative",
                   [](CCpu& c) {
                       c.SetPc(-3);
                       return c.Pc();
                   },
                   0,
                   {ErrorEvent(13, -3)}},
        AccessCase{"Pc",
                   [](CCpu& c) {
                       c.SetPc(255);
                       return c.Pc();
                   },
                   255,
                   {{PcSet, 255, 0}}}),
    [](const testing::TestParamInfo<AccessCase>& info) { return info.param.name; });

TEST(Cpu, ClearStoresNoValueForAnyValueOutsideByteRange)
{
    ClearedCpu machine;
    machine.cpu.ClearMemory(300);
    machine.cpu.ClearRegisters(7);
    ASSERT_EQ(eventLog.size(), 272u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(eventLog[i], (Event{MemorySet, -1, i}));
        EXPECT_EQ(machine.cpu.GetMemory(i), -1);
    }
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(eventLog[256 + i], (Event{RegisterSet, 7, i}));
        EXPECT_EQ(machine.cpu.GetRegister(i), 7);
    }
}

TEST(Cpu, StartAddressRestartsWithoutMovingPc)
{
    ClearedCpu machine;
    machine.cpu.SetPc(9);
    machine.cpu.Halt();
    machine.cpu.SetStartAddress(256);
    EXPECT_EQ(machine.cpu.State(), static_cast<int>(CycleState::Halted));
    eventLog.clear();
    machine.cpu.SetStartAddress(64);
    EXPECT_EQ(eventLog, (Events{{StartSet, 64, 0}}));
    EXPECT_EQ(machine.cpu.State(), static_cast<int>(CycleState::Restarted));
    EXPECT_EQ(machine.cpu.Pc(), 9);
}

TEST(Cpu, ResetReportsClearedRegistersButKeepsStoredInstruction)
{
    ClearedCpu machine;
    machine.cpu.SetMemory(0, 0x21);
    machine.cpu.SetMemory(1, 0x05);
    machine.cpu.Step();
    machine.cpu.SetStartAddress(64);
    eventLog.clear();
    machine.cpu.Reset();
    EXPECT_EQ(eventLog, (Events{{PcSet, 64, 0},
                                {IrhSet, 0, 0},
                                {IrlSet, 0, 0},
                                {FieldDecoded, 0, 0},
                                {FieldDecoded, 0, 1},
                                {FieldDecoded, 0, 2},
                                {FieldDecoded, 0, 3}}));
    EXPECT_EQ(machine.cpu.Pc(), 64);
    EXPECT_EQ(machine.cpu.Irh(), 0x21);
    EXPECT_EQ(machine.cpu.State(), static_cast<int>(CycleState::Restarted));
}

TEST(Cpu, HaltReportsEveryTime)
{
    ClearedCpu machine;
    machine.cpu.Halt();
    machine.cpu.Halt();
    EXPECT_EQ(eventLog, (Events{{Phase, 0, 0}, {Phase, 0, 0}}));
}

// The fields first, the phase that led to the restored cycle state, then only
// what changes back.
TEST(Cpu, RestoringAStateReportsTheFieldsThePhaseAndWhatChanges)
{
    ClearedCpu machine;
    LoadBytes(machine.cpu, 0, {0x21, 0x07}); // LOAD R1,07
    machine.cpu.MicroStep();
    const CpuState fetched = machine.cpu.GetState();
    machine.cpu.Step();
    eventLog.clear();
    machine.cpu.RestoreState(fetched);
    EXPECT_EQ(eventLog, (Events{{FieldDecoded, 0, 0},
                                {FieldDecoded, 0, 1},
                                {FieldDecoded, 0, 2},
                                {FieldDecoded, 0, 3},
                                {Phase, 1, 0},
                                {RegisterSet, -1, 1}}));
    EXPECT_EQ(machine.cpu.GetState(), fetched);
}
