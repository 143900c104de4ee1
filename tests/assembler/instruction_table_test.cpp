#include "assembler/instruction_table.h"

#include <gtest/gtest.h>

#include <string>

TEST(OpcodeOf, NumbersTheMnemonicsExactly)
{
    for (std::size_t i = 0; i < Mnemonics.size(); ++i) {
        EXPECT_EQ(OpcodeOf(Mnemonics[i]), static_cast<int>(i) + 1) << Mnemonics[i];
    }
    for (const char* text : {"", "load", "LOAD ", " LOAD", "LOADAX", "START"}) {
        EXPECT_EQ(OpcodeOf(text), 0) << '"' << text << '"';
    }
}

TEST(InstructionText, ListsEachOpcode)
{
    struct Case {
        int word;
        std::string text;
    };
    const Case cases[] = {
        {0x156C, "LOAD R5,@6C"},
        {0x256C, "LOAD R5,6C"},
        {0x3A0F, "STORE RA,@0F"},
        {0x4012, "MOVE R1,R2"},
        {0x4712, "MOVE R1,R2"},
        {0x5123, "ADD R1,R2,R3"},
        {0x6DEF, "ADDF RD,RE,RF"},
        {0x7123, "OR R1,R2,R3"},
        {0x8123, "AND R1,R2,R3"},
        {0x9123, "XOR R1,R2,R3"},
        {0xA305, "ROTATE R3,05"},
        {0xBF80, "JUMP RF,@80"},
        {0xC123, "HALT"},
        {0x0123, ""},
        {0xD123, ""},
        {0xE000, ""},
        {0xFFFF, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            InstructionText(c.word >> 12, (c.word >> 8) & 15, (c.word >> 4) & 15, c.word & 15),
            c.text)
            << std::hex << c.word;
    }
}

TEST(InstructionText, FieldsOutsideANibbleGiveNoText)
{
    EXPECT_EQ(InstructionText(2, 16, 0, 0), "");
    EXPECT_EQ(InstructionText(2, 0, -1, 0), "");
    EXPECT_EQ(InstructionText(12, 0, 0, 16), "");
}
