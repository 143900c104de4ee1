#include "machine/machine_event.h"
#include "workbench/machine_view/machine_display.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

using namespace MachineEvent;

namespace {

constexpr QRgb Red = 0xffff0000;
constexpr QRgb Blue = 0xff0000ff;
constexpr QRgb Fuchsia = 0xffff00ff;

class FakeHost : public MachineDisplayHost {
public:
    int ReadMemory(int address) override { return memory.at(address); }

    std::array<int, 256> memory{};
};

class MachineDisplayTest : public ::testing::Test {
protected:
    MachineDisplayTest()
    {
        for (int address = 0; address < 256; ++address) {
            host.memory[address] = address;
        }
    }

    // The machine stores before it reports, as the real one does.
    void WriteMemory(int address, int value)
    {
        host.memory[address] = value;
        display.HandleEvent(MemorySet, value, address);
    }

    FakeHost host;
    MachineDisplay display{host};
};

} // namespace

TEST_F(MachineDisplayTest, WritesShowInTheSetColourAndReadsInTheGetColour)
{
    display.HandleEvent(PcSet, 16, 0);
    display.HandleEvent(PcGet, 0, 0);
    display.HandleEvent(IrhSet, 0x21, 0);
    display.HandleEvent(IrlGet, 0, 0);
    EXPECT_EQ(display.pc.text, "10");
    EXPECT_EQ(display.pc.tag, 16);
    EXPECT_EQ(display.pc.colour, Blue);
    EXPECT_EQ(display.irh.text, "21");
    EXPECT_EQ(display.irh.colour, Red);
    EXPECT_TRUE(display.irl.highlighted);
    EXPECT_EQ(display.irl.colour, Blue);
}

TEST_F(MachineDisplayTest, ARegisterWrittenAndReadInOneStepMixesTheColours)
{
    display.HandleEvent(RegisterSet, 7, 5);
    display.HandleEvent(RegisterGet, 0, 5);
    display.HandleEvent(RegisterGet, 0, 6);
    EXPECT_EQ(display.registers[5].text, "07");
    EXPECT_EQ(display.registers[5].colour, Fuchsia);
    EXPECT_EQ(display.registers[6].colour, Blue);

    display.setColour = 0xff00ff00;
    display.HandleEvent(RegisterGet, 0, 5); // fuchsia is no longer the SET colour
    EXPECT_EQ(display.registers[5].colour, Blue);
}

TEST_F(MachineDisplayTest, AWriteToAnotherPageTurnsToItUnlessInBulk)
{
    WriteMemory(45, 9);
    EXPECT_EQ(display.page, 1);
    EXPECT_EQ(display.memory[13].text, "09");
    EXPECT_EQ(display.memory[13].colour, Red);
    EXPECT_EQ(display.memory[12].text, "2C");
    EXPECT_FALSE(display.memory[12].highlighted);

    display.bulk = true;
    WriteMemory(200, 1);
    EXPECT_EQ(display.page, 1);
}

TEST_F(MachineDisplayTest, AReadOfAnotherPageTurnsToItAndOnlyColours)
{
    display.HandleEvent(MemoryGet, 0, 100);
    EXPECT_EQ(display.page, 3);
    EXPECT_EQ(display.memory[4].text, "64");
    EXPECT_EQ(display.memory[4].colour, Blue);
}

TEST_F(MachineDisplayTest, ThePcWindowStartsTwoCellsBelowPc)
{
    display.HandleEvent(PcSet, 0, 0);
    std::vector<int> addresses;
    for (const PcWindowRow& row : display.pcWindow) {
        addresses.push_back(row.address);
    }
    EXPECT_EQ(addresses, (std::vector<int>{254, 255, 0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(display.pcWindow[0].addressText, "FE");
    EXPECT_EQ(display.pcWindow[0].valueText, "FE");

    WriteMemory(1, 0x77); // the row of cell 1 follows, whatever page shows
    display.bulk = true;
    WriteMemory(5, 0x55);
    EXPECT_EQ(display.pcWindow[3].valueText, "77");
    EXPECT_EQ(display.pcWindow[7].valueText, "55");
}

TEST_F(MachineDisplayTest, DecodedFieldsAreHexadecimalDigitsWithTheListing)
{
    display.SetRadix(10);
    display.HandleEvent(FieldDecoded, 1, 0);
    display.HandleEvent(FieldDecoded, 15, 1);
    display.HandleEvent(FieldDecoded, 6, 2);
    EXPECT_TRUE(display.instruction.isEmpty());
    display.HandleEvent(FieldDecoded, 12, 3);
    EXPECT_EQ(display.decoded[1].text, "F");
    EXPECT_EQ(display.instruction, "LOAD RF,@6C");

    // An undefined opcode keeps the listing.
    display.HandleEvent(FieldDecoded, 13, 0);
    display.HandleEvent(FieldDecoded, 0, 3);
    EXPECT_EQ(display.instruction, "LOAD RF,@6C");
}

TEST_F(MachineDisplayTest, PhasesClearTheHighlightsAndLightOneLamp)
{
    display.HandleEvent(RegisterSet, 1, 1);
    display.HandleEvent(FieldDecoded, 12, 3);
    display.instruction = QStringLiteral("HALT");
    display.HandleEvent(Phase, 1, 0);
    EXPECT_FALSE(display.registers[1].highlighted);
    EXPECT_TRUE(display.instruction.isEmpty());
    EXPECT_EQ(display.lamps, (std::array<bool, 3>{true, false, false}));
    display.HandleEvent(Phase, 3, 0);
    EXPECT_EQ(display.lamps, (std::array<bool, 3>{false, false, true}));
    display.HandleEvent(Phase, 0, 0);
    EXPECT_EQ(display.lamps, (std::array<bool, 3>{false, false, false}));
    display.HandleEvent(Phase, 7, 0);
    EXPECT_EQ(display.lamps, (std::array<bool, 3>{false, false, false}));
}

TEST_F(MachineDisplayTest, TogglingTheRadixTwiceRestoresEveryText)
{
    display.HandleEvent(PcSet, 10, 0);
    display.HandleEvent(RegisterSet, 255, 3);
    display.HandleEvent(StartSet, 16, 0);
    display.SetRadix(10);
    EXPECT_EQ(display.pc.text, "010");
    EXPECT_EQ(display.registers[3].text, "255");
    EXPECT_EQ(display.start.text, "016");
    EXPECT_EQ(display.pcWindow[0].addressText, "008");
    EXPECT_TRUE(display.registers[3].highlighted); // colours stay
    display.SetRadix(16);
    EXPECT_EQ(display.pc.text, "0A");
    EXPECT_EQ(display.registers[3].text, "FF");
    EXPECT_EQ(display.pcWindow[0].address, 8);
    EXPECT_EQ(display.memory[10].text, "0A");
}

TEST_F(MachineDisplayTest, ACellWithoutValueShowsEmpty)
{
    WriteMemory(3, 0);
    host.memory[4] = -1;
    display.RefillPage();
    EXPECT_EQ(display.memory[4].text, "");
    EXPECT_EQ(display.memory[4].tag, -1);
    display.HandleEvent(MemorySet, -1, 7);
    EXPECT_EQ(display.memory[7].text, "");
}
