#include "assembler/assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using Event = std::tuple<int, int, int>; // code, value, index
std::vector<Event> events;

void Record(int code, int value, int index)
{
    events.emplace_back(code, value, index);
}

Event Error(int subCode, int line)
{
    return {MachineEvent::Error, subCode, line};
}

struct Row {
    const char* label;
    const char* mnemonic;
    const char* operand;
};

class AssemblerTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }

    // Adds the rows as lines 1, 2, ... after a Reset and assembles them.
    bool Assemble(const std::vector<Row>& rows, int start = 0)
    {
        assembler.Reset();
        int line = 0;
        for (const Row& row : rows) {
            EXPECT_TRUE(assembler.AddLine(++line, row.label, row.mnemonic, row.operand));
        }
        return assembler.Assemble(start);
    }

    std::vector<int> Values() const
    {
        int entry = 0;
        int count = 0;
        const SourceLine* lines = assembler.GetResult(entry, count);
        std::vector<int> values;
        for (int i = 0; i < count; ++i) {
            values.push_back(lines[i].value);
        }
        return values;
    }

    int Entry() const
    {
        int entry = 0;
        int count = 0;
        assembler.GetResult(entry, count);
        return entry;
    }

    CAssembler assembler{Record};
};

struct LineCase {
    const char* mnemonic;
    const char* operand;
    int value;
    std::vector<int> subCodes;
};

// Each line is assembled as line 3 at address 42, after "LOOP DB" at 40 and
// "12 DB" at 41, so that labels and numbers can be told apart.
const LineCase lineCases[] = {
    {"LOADA", "R1,@12", 0x1112, {}},
    {"LOADA", "R1,12", 0x1102, {102}},
    {"LOADA", "R1,@LOOP", 0x1140, {}},
    {"LOADA", "R1,@LOOP+1", 0x1141, {}},
    {"LOADA", "R1,@12+1", 0x1142, {}},
    {"LOADA", "R1,@13+1", 0x1100, {102}},
    {"LOADA", "R1,@NONE", 0x1100, {102}},
    {"LOADA", "r1,ZZ", 0x1000, {102, 101, 102}},
    {"LOAD", "R1,LOOP", 0x2140, {}},
    {"LOAD", "R1,A", 0x210A, {}},
    {"LOAD", "R1,@12", 0x2100, {102}},
    {"LOAD", "R1", 0x2100, {102}},
    {"STORE", "r1,@10", 0x3010, {101}},
    {"JUMP", "RF,@00", 0xBF00, {}},
    {"MOVE", "R1,R2", 0x4012, {}},
    {"MOVE", "R1,R2,R3", 0x4012, {}},
    {"MOVE", "R1,RG", 0x4010, {101}},
    {"MOVE", "Ra,RB", 0x4000, {101}},
    {"ADD", "R1,R2,R3", 0x5123, {}},
    {"ADD", "R1,R2,R3,R4", 0x5123, {}},
    {"ADD", "R1,R2", 0x5000, {101}},
    {"ADD", "RX,RY,RZ", 0x5000, {101}},
    {"ADDF", "RA,RB,RC", 0x6ABC, {}},
    {"ROTATE", "R2,8", 0xA208, {}},
    {"ROTATE", "R2,9", 0xA200, {104}},
    {"ROTATE", "R2,10", 0xA200, {104}},
    {"ROTATE", "R2", 0xA200, {104}},
    {"ROTATE", "RG,3", 0xA003, {101}},
    {"ROTATE", "RG,9", 0xA000, {101, 104}},
    {"HALT", "", 0xC000, {}},
    {"HALT", "R1,R2", 0xC000, {}},
    {"DB", "F", 0x0F, {}},
    {"DB", "", -1, {}},
    {"DB", "100", -1, {}},
    {"DB", "ab", -1, {}},
    {"", "", 0, {106}},
    {"load", "R1,12", 0, {106}},
    {"LOAD ", "R1,12", 0, {106}},
};

} // namespace

TEST_F(AssemblerTest, AssemblesTheWorkedExample)
{
    EXPECT_TRUE(Assemble({{"", "DB", "05"},
                          {"", "LOAD", "R1,LOOP"},
                          {"LOOP", "STORE", "R1,@LOOP+1"},
                          {"", "HALT", ""}},
                         0x10));
    EXPECT_EQ(Values(), (std::vector{0x05, 0x2113, 0x3114, 0xC000}));
    EXPECT_EQ(Entry(), 0x11);
    EXPECT_TRUE(events.empty());
}

TEST_F(AssemblerTest, EncodesEachOperandForm)
{
    for (const LineCase& c : lineCases) {
        SCOPED_TRACE(std::string(c.mnemonic) + " " + c.operand);
        events.clear();
        const bool ok =
            Assemble({{"LOOP", "DB", "00"}, {"12", "DB", "00"}, {"", c.mnemonic, c.operand}}, 0x40);
        std::vector<Event> expected;
        for (const int subCode : c.subCodes) {
            expected.push_back(Error(subCode, 3));
        }
        EXPECT_EQ(events, expected);
        EXPECT_EQ(ok, c.subCodes.empty());
        EXPECT_EQ(Values().back(), c.value);
    }
}

TEST_F(AssemblerTest, ReportsLabelsInPassOneThenLinesInOrder)
{
    assembler.AddLine(3, "A", "HALT", "");
    assembler.AddLine(7, "A", "BAD", "");
    assembler.AddLine(12, "", "LOADA", "r1,ZZ");
    EXPECT_FALSE(assembler.Assemble(0));
    EXPECT_EQ(events, (std::vector{Error(105, 7), Error(106, 7), Error(102, 12), Error(101, 12),
                                   Error(102, 12)}));
}

TEST_F(AssemblerTest, FirstDefinitionOfALabelStays)
{
    EXPECT_FALSE(
        Assemble({{"TOP", "HALT", ""}, {"TOP", "HALT", ""}, {"", "LOAD", "R0,TOP"}}, 0x20));
    EXPECT_EQ(events, std::vector{Error(105, 2)});
    EXPECT_EQ(Values()[2], 0x2020);
}

TEST_F(AssemblerTest, LongTextsBehaveAsIfKeptWhole)
{
    // "ROTATEX" must not pass for "ROTATE"; it still takes two bytes.
    EXPECT_FALSE(Assemble({{"ABCDEFG", "HALT", ""},
                           {"", "ROTATEX", "R1,1"},
                           {"ABCDEF", "LOAD", "R0,ABCDEF"},
                           {"", "LOAD", "R0,ABCDEFGHIJKLMNOP"}}));
    EXPECT_EQ(events, (std::vector{Error(105, 1), Error(106, 2), Error(102, 4)}));
    EXPECT_EQ(Values()[2], 0x2004);

    int entry = 0;
    int count = 0;
    const SourceLine* lines = assembler.GetResult(entry, count);
    EXPECT_STREQ(lines[0].label, "ABCDEF");
    EXPECT_STREQ(lines[3].operand, "R0,ABCDEFGHIJ");
    assembler.AddLine(5, "", "LOAD", "R0,ABCDEFGHIJ");
    EXPECT_STREQ(assembler.GetResult(entry, count)[4].operand, "R0,ABCDEFGHIJ");
}

TEST_F(AssemblerTest, ALabelAloneIsAnUnknownMnemonicOfTwoBytes)
{
    EXPECT_FALSE(Assemble({{"ONLY", "", ""}, {"NEXT", "HALT", ""}, {"", "LOAD", "R0,NEXT"}}));
    EXPECT_EQ(events, std::vector{Error(106, 1)});
    EXPECT_EQ(Values()[2], 0x2002);
}

TEST_F(AssemblerTest, ProgramsMayTakeAtMost255Bytes)
{
    struct Case {
        int dbBefore;
        int words;
        int dbAfter;
        int refusedLine; // 0 when the program fits
    };
    const Case cases[] = {
        {0, 127, 0, 0}, {0, 128, 0, 128}, {1, 127, 0, 0}, {2, 127, 0, 129}, {0, 127, 2, 129},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dbBefore) + " DB, " + std::to_string(c.words) + " words, " +
                     std::to_string(c.dbAfter) + " DB");
        events.clear();
        std::vector<Row> rows(c.dbBefore, Row{"", "DB", "00"});
        rows.insert(rows.end(), c.words, Row{"", "HALT", ""});
        rows.insert(rows.end(), c.dbAfter, Row{"", "DB", "00"});
        EXPECT_EQ(Assemble(rows), c.refusedLine == 0);
        EXPECT_EQ(events, c.refusedLine == 0 ? std::vector<Event>{}
                                             : std::vector{Error(103, c.refusedLine)});
    }
}

TEST_F(AssemblerTest, ProgramTooLargeStopsBeforeEncoding)
{
    EXPECT_FALSE(Assemble(std::vector<Row>(130, Row{"", "BAD", ""})));
    EXPECT_EQ(events, std::vector{Error(103, 128)});
}

TEST_F(AssemblerTest, AddressesWrapAfterFF)
{
    EXPECT_TRUE(
        Assemble({{"P", "LOAD", "R0,P"}, {"Q", "LOAD", "R1,Q"}, {"S", "LOAD", "R2,S"}}, 0xFE));
    EXPECT_EQ(Values(), (std::vector{0x20FE, 0x2100, 0x2202}));
    EXPECT_TRUE(Assemble({{"LAST", "DB", "00"}, {"", "LOAD", "R0,LAST+1"}}, 0xFF));
    EXPECT_EQ(Values()[1], 0x2000);
}

TEST_F(AssemblerTest, EntryIsTheFirstInstructionWord)
{
    EXPECT_TRUE(Assemble({{"", "DB", "01"}, {"", "DB", "02"}, {"", "HALT", ""}}, 0x30));
    EXPECT_EQ(Entry(), 0x32);
    EXPECT_TRUE(Assemble({{"", "DB", "01"}}, 0x30));
    EXPECT_EQ(Entry(), -1);
    EXPECT_TRUE(Assemble({}, 0x30));
    EXPECT_EQ(Entry(), -1);
    EXPECT_TRUE(events.empty());
}

TEST_F(AssemblerTest, StartAddressOutsideMemoryIsRefused)
{
    for (const int start : {-1, 256}) {
        events.clear();
        EXPECT_FALSE(Assemble({{"", "BAD", ""}}, start));
        EXPECT_EQ(events, std::vector{Error(12, start)});
    }
}

TEST_F(AssemblerTest, AssemblingAgainGivesTheSameResult)
{
    ASSERT_TRUE(Assemble({{"TOP", "HALT", ""}, {"", "JUMP", "R0,@TOP"}}, 0x10));
    EXPECT_TRUE(assembler.Assemble(0x20));
    EXPECT_EQ(Values(), (std::vector{0xC000, 0xB020}));
    EXPECT_TRUE(events.empty());
}

TEST_F(AssemblerTest, ResetForgetsLinesAndLabels)
{
    ASSERT_TRUE(Assemble({{"TOP", "HALT", ""}}));
    assembler.Reset();
    assembler.AddLine(1, "", "LOAD", "R0,TOP");
    EXPECT_FALSE(assembler.Assemble(0));
    EXPECT_EQ(events, std::vector{Error(102, 1)});
    EXPECT_EQ(Values().size(), 1u);
}
